#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pewriter
{
    using VersionQuad = std::array<std::uint16_t, 4>;

    /** What a written image looks like: a DLL (plugin binaries) or an EXE
        (the helper's own executable), PE32+ or PE32, with or without a
        version resource holding the four numbers and a string table. */
    struct PeImageRecipe
    {
        enum class Kind { dll, exe };
        enum class Format { pe32plus, pe32 };

        Kind kind = Kind::dll;
        Format format = Format::pe32plus;
        bool withVersionResource = true;

        VersionQuad fileVersion { 1, 0, 0, 0 };
        VersionQuad productVersion { 1, 0, 0, 0 };

        /** Key and value pairs (UTF-8) of the string table, in order. */
        std::vector<std::pair<std::string, std::string>> strings;

        /** The resource's language and the string table's; 0 is neutral. */
        std::uint16_t language = 0x0409;

        /** The .text section holds at least this many bytes, so that the
            resources can sit far into a large file. */
        std::uint32_t codeSize = 0;
    };

    /** "1.2.3.4" */
    std::string versionText (const VersionQuad& version);
}
