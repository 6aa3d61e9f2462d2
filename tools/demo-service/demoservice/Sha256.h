#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace demoservice
{
    /** SHA-256 of a byte sequence, as 64 lower-case hex digits. */
    std::string sha256Hex (const void* data, std::size_t size);

    /** SHA-256 of a file's bytes, read in pieces; empty when it cannot be read. */
    std::string sha256HexOfFile (const std::filesystem::path& file);

    /** A well-formed digest that differs from the given one in every digit,
        for the product whose advertised digest must not match. */
    std::string mismatchedHex (const std::string& hex);
}
