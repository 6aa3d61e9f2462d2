#pragma once

#include "pewriter/LittleEndian.h"
#include "pewriter/PeImageRecipe.h"

namespace pewriter
{
    /** Offsets inside a resource section written by resourceSection(). */
    namespace ResourceOffsets
    {
        constexpr std::uint32_t nameDirectory = 0x18;
        constexpr std::uint32_t languageDirectory = 0x30;
        constexpr std::uint32_t dataEntry = 0x48;
        constexpr std::uint32_t versionBlock = 0x58;
        constexpr std::uint32_t fixedFileInfoInBlock = 40; // after the header and "VS_VERSION_INFO"
    }

    /** VS_VERSIONINFO: the VS_FIXEDFILEINFO, a StringFileInfo with the
        recipe's strings and a VarFileInfo with its translation. */
    Bytes versionResource (const PeImageRecipe& recipe);

    /** A .rsrc section at `sectionRva`: type RT_VERSION (16) -> id 1 ->
        the recipe's language -> data entry -> the VS_VERSIONINFO bytes. */
    Bytes resourceSection (const PeImageRecipe& recipe, std::uint32_t sectionRva);
}
