#include "pewriter/PeImage.h"

#include "pewriter/VersionResource.h"

#include <algorithm>
#include <cstring>

namespace pewriter
{
namespace
{
    constexpr std::uint32_t fileAlignment = 0x200;
    constexpr std::uint32_t sectionAlignment = 0x1000;
    constexpr std::uint32_t headersSize = 0x200;
    constexpr std::uint32_t peOffset = 0x80;
    constexpr std::uint32_t textRva = 0x1000;
    constexpr std::uint32_t textRaw = headersSize;

    std::uint32_t alignUp (std::uint32_t v, std::uint32_t alignment)
    {
        return (v + alignment - 1) / alignment * alignment;
    }

    /** The checksum that Windows' ImageHlp computes: 16-bit one's-complement
        style sum over the file with the checksum field taken as zero, plus the
        file length. */
    std::uint32_t peChecksum (const Bytes& image, std::size_t checksumOffset)
    {
        std::uint64_t sum = 0;

        for (std::size_t i = 0; i < image.size(); i += 2)
        {
            if (i == checksumOffset || i == checksumOffset + 2)
                continue;

            std::uint32_t word = image[i];
            if (i + 1 < image.size())
                word |= std::uint32_t (image[i + 1]) << 8;

            sum += word;
            sum = (sum & 0xffff) + (sum >> 16);
        }

        sum = (sum & 0xffff) + (sum >> 16);
        return static_cast<std::uint32_t> (sum + image.size());
    }

    /** DOS header and the customary stub, up to the PE header. */
    void putDosHeader (Bytes& image)
    {
        put16 (image, 0x5a4d);   // "MZ"
        put16 (image, 0x90);     // e_cblp
        put16 (image, 3);        // e_cp
        put16 (image, 0);        // e_crlc
        put16 (image, 4);        // e_cparhdr
        put16 (image, 0);        // e_minalloc
        put16 (image, 0xffff);   // e_maxalloc
        put16 (image, 0);        // e_ss
        put16 (image, 0xb8);     // e_sp
        put16 (image, 0);        // e_csum
        put16 (image, 0);        // e_ip
        put16 (image, 0);        // e_cs
        put16 (image, 0x40);     // e_lfarlc
        put16 (image, 0);        // e_ovno
        image.resize (0x3c, 0);
        put32 (image, peOffset); // e_lfanew

        const Bytes stub { 0x0e, 0x1f, 0xba, 0x0e, 0x00, 0xb4, 0x09, 0xcd, 0x21, 0xb8, 0x01, 0x4c, 0xcd, 0x21 };
        image.insert (image.end(), stub.begin(), stub.end());
        const char* stubText = "This program cannot be run in DOS mode.\r\r\n$";
        image.insert (image.end(), stubText, stubText + std::strlen (stubText));
        image.resize (peOffset, 0);
    }

    void putSectionHeader (Bytes& image, const char* name, std::uint32_t virtualSize, std::uint32_t rva,
                           std::uint32_t rawSize, std::uint32_t rawPointer, std::uint32_t flags)
    {
        char field[8] = {};
        std::memcpy (field, name, std::min<std::size_t> (8, std::strlen (name)));
        image.insert (image.end(), field, field + 8);
        put32 (image, virtualSize);
        put32 (image, rva);
        put32 (image, rawSize);
        put32 (image, rawPointer);
        put32 (image, 0);   // PointerToRelocations
        put32 (image, 0);   // PointerToLinenumbers
        put16 (image, 0);   // NumberOfRelocations
        put16 (image, 0);   // NumberOfLinenumbers
        put32 (image, flags);
    }
}

Bytes buildPeImage (const PeImageRecipe& recipe, PeImageLayout* layoutOut)
{
    PeImageLayout layout;
    const bool isDll = recipe.kind == PeImageRecipe::Kind::dll;
    const bool pe32 = recipe.format == PeImageRecipe::Format::pe32;
    const bool withResource = recipe.withVersionResource;

    // DllMain returns TRUE; an EXE's entry point returns 0, which ends the process with code 0.
    const Bytes code = isDll ? Bytes { 0xb8, 0x01, 0x00, 0x00, 0x00, 0xc3 }   // mov eax, 1; ret
                             : Bytes { 0x31, 0xc0, 0xc3 };                    // xor eax, eax; ret

    const auto textSize = std::max (recipe.codeSize, static_cast<std::uint32_t> (code.size()));
    const auto textRawSize = alignUp (textSize, fileAlignment);
    const auto rsrcRva = textRva + alignUp (textSize, sectionAlignment);
    const auto rsrcRaw = textRaw + textRawSize;

    const auto rsrc = withResource ? resourceSection (recipe, rsrcRva) : Bytes {};
    const auto rsrcSize = static_cast<std::uint32_t> (rsrc.size());
    const auto rsrcRawSize = alignUp (rsrcSize, fileAlignment);

    Bytes image;
    putDosHeader (image);

    // PE signature and COFF file header.
    layout.peHeader = image.size();
    put32 (image, 0x00004550);                           // "PE\0\0"
    put16 (image, pe32 ? 0x014c : 0x8664);               // i386 or AMD64
    put16 (image, withResource ? 2 : 1);                 // NumberOfSections
    put32 (image, 0);                                    // TimeDateStamp
    put32 (image, 0);                                    // PointerToSymbolTable
    put32 (image, 0);                                    // NumberOfSymbols
    const std::uint16_t optionalSize = pe32 ? 224 : 240;
    put16 (image, optionalSize);
    // EXECUTABLE, then LARGE_ADDRESS_AWARE or 32BIT_MACHINE, then DLL.
    put16 (image, static_cast<std::uint16_t> (0x0002 | (pe32 ? 0x0100 : 0x0020) | (isDll ? 0x2000 : 0)));

    layout.optionalHeader = image.size();
    put16 (image, pe32 ? 0x10b : 0x20b);
    image.push_back (14);                                // linker version
    image.push_back (0);
    put32 (image, textRawSize);                          // SizeOfCode
    put32 (image, rsrcRawSize);                          // SizeOfInitializedData
    put32 (image, 0);                                    // SizeOfUninitializedData
    put32 (image, textRva);                              // AddressOfEntryPoint
    put32 (image, textRva);                              // BaseOfCode

    if (pe32)
    {
        put32 (image, rsrcRva);                          // BaseOfData
        put32 (image, isDll ? 0x10000000u : 0x00400000u);
    }
    else
    {
        put64 (image, isDll ? 0x180000000ull : 0x140000000ull);
    }

    put32 (image, sectionAlignment);
    put32 (image, fileAlignment);
    put16 (image, 6); put16 (image, 0);                  // operating system version
    put16 (image, 0); put16 (image, 0);                  // image version
    put16 (image, 6); put16 (image, 0);                  // subsystem version
    put32 (image, 0);                                    // Win32VersionValue
    put32 (image, rsrcRva + alignUp (rsrcSize, sectionAlignment)); // SizeOfImage
    put32 (image, headersSize);
    layout.checksum = image.size();
    put32 (image, 0);                                    // CheckSum, filled in last
    put16 (image, 2);                                    // Windows GUI
    put16 (image, pe32 ? 0x0140 : 0x0160);               // (HIGH_ENTROPY_VA |) DYNAMIC_BASE | NX_COMPAT

    for (const std::uint32_t size : { 0x100000u, 0x1000u, 0x100000u, 0x1000u }) // stack and heap: reserve, commit
        pe32 ? put32 (image, size) : put64 (image, size);

    put32 (image, 0);                                    // LoaderFlags
    put32 (image, 16);                                   // NumberOfRvaAndSizes

    for (int i = 0; i < 16; ++i)
    {
        const bool isResource = i == 2 && withResource;

        if (i == 2)
            layout.resourceDirectoryEntry = image.size();

        put32 (image, isResource ? rsrcRva : 0);
        put32 (image, isResource ? rsrcSize : 0);
    }

    layout.sectionTable = image.size();
    putSectionHeader (image, ".text", textSize, textRva, textRawSize, textRaw, 0x60000020);  // code, execute, read

    if (withResource)
        putSectionHeader (image, ".rsrc", rsrcSize, rsrcRva, rsrcRawSize, rsrcRaw, 0x40000040); // initialised data, read

    image.resize (textRaw, 0);
    image.insert (image.end(), code.begin(), code.end());
    image.resize (rsrcRaw, 0);

    if (withResource)
    {
        image.insert (image.end(), rsrc.begin(), rsrc.end());
        image.resize (rsrcRaw + rsrcRawSize, 0);

        layout.resourceSection = rsrcRaw;
        layout.nameDirectory = rsrcRaw + ResourceOffsets::nameDirectory;
        layout.languageDirectory = rsrcRaw + ResourceOffsets::languageDirectory;
        layout.dataEntry = rsrcRaw + ResourceOffsets::dataEntry;
        layout.versionBlock = rsrcRaw + ResourceOffsets::versionBlock;
        layout.fixedFileInfo = layout.versionBlock + ResourceOffsets::fixedFileInfoInBlock;
        layout.resourceRva = rsrcRva;
    }

    storeLe32 (image, layout.checksum, peChecksum (image, layout.checksum));
    layout.fileSize = image.size();

    if (layoutOut != nullptr)
        *layoutOut = layout;

    return image;
}
}
