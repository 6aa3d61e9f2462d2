#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

/** An independent reader for the tests: follows a PE32+ image's headers and
    resource directory to RT_VERSION and returns the four numbers of its
    VS_FIXEDFILEINFO file version. Nothing when any step does not hold. */
std::optional<std::array<std::uint16_t, 4>> probePeFileVersion (const std::vector<std::uint8_t>& image);

/** The checksum field of the optional header, and the value it should hold. */
std::pair<std::uint32_t, std::uint32_t> probePeChecksum (const std::vector<std::uint8_t>& image);
