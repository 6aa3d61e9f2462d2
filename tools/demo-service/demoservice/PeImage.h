#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace demoservice
{
    /** What a generated Windows image looks like: a DLL (plugin binaries) or
        an EXE (the helper's own executable), with the four numbers of its
        version resource and the strings of its string table. */
    struct PeImageRecipe
    {
        enum class Kind { dll, exe };

        Kind kind = Kind::dll;
        std::array<std::uint16_t, 4> fileVersion { 1, 0, 0, 0 };
        std::array<std::uint16_t, 4> productVersion { 1, 0, 0, 0 };

        /** Key and value pairs of the "040904B0" string table, in order. */
        std::vector<std::pair<std::string, std::string>> strings;
    };

    /** A minimal but complete PE32+ (x64) image: DOS header, PE headers, a
        .text section whose entry point only returns, and a .rsrc section with
        one RT_VERSION resource (VS_VERSIONINFO with VS_FIXEDFILEINFO,
        StringFileInfo and VarFileInfo). Windows' version API and any PE reader
        read the version back from it; a DLL loads, an EXE starts and exits 0. */
    std::vector<std::uint8_t> buildPeImage (const PeImageRecipe& recipe);

    /** "1.3.0" plus build "57" gives {1, 3, 0, 57}. Missing or non-numeric parts
        read as 0; each part is clamped to 16 bits. */
    std::array<std::uint16_t, 4> versionQuad (const std::string& version, const std::string& build);
}
