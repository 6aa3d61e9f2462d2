#pragma once

#include "pewriter/LittleEndian.h"
#include "pewriter/PeImageRecipe.h"

#include <cstddef>

namespace pewriter
{
    /** Where the pieces of a written image sit, as file offsets, so a test
        can damage exactly one of them. The resource fields stay 0 in an
        image without a version resource. */
    struct PeImageLayout
    {
        std::size_t peHeader = 0;               // "PE\0\0"
        std::size_t optionalHeader = 0;
        std::size_t checksum = 0;
        std::size_t resourceDirectoryEntry = 0; // the data directory slot: RVA, size
        std::size_t sectionTable = 0;
        std::size_t resourceSection = 0;        // raw data of .rsrc (the type directory)
        std::size_t nameDirectory = 0;
        std::size_t languageDirectory = 0;
        std::size_t dataEntry = 0;
        std::size_t versionBlock = 0;           // VS_VERSIONINFO
        std::size_t fixedFileInfo = 0;          // VS_FIXEDFILEINFO
        std::uint32_t resourceRva = 0;
        std::size_t fileSize = 0;
    };

    /** A minimal but complete image: DOS header and stub, PE headers, a
        .text section whose entry point only returns, and, when asked, a
        .rsrc section with one RT_VERSION resource. Windows' version API and
        any PE reader read the version back from it; a DLL loads, an EXE
        starts and exits 0. The checksum is the one ImageHlp computes. */
    Bytes buildPeImage (const PeImageRecipe& recipe, PeImageLayout* layout = nullptr);
}
