#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace demoservice
{
    /** A valid PNG (8-bit RGB, no interlace) of the given size: a diagonal
        two-colour gradient from the given colours, stored with uncompressed
        deflate blocks so that no compression library is needed. */
    std::vector<std::uint8_t> buildPng (int width, int height, std::uint32_t fromRgb, std::uint32_t toRgb);

    /** A valid single-page PDF 1.4 that shows the title and the lines in
        Helvetica, with a correct cross-reference table. ASCII text only;
        other characters are replaced by "?". */
    std::string buildPdf (const std::string& title, const std::vector<std::string>& lines);

    /** Deterministic pseudo-random bytes (incompressible sample data). */
    std::vector<std::uint8_t> pseudoRandomBytes (std::size_t count, std::uint64_t seed);
}
