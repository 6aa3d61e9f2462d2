#include "support/PeFileBuilder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace
{
    using Bytes = std::vector<std::uint8_t>;

    constexpr std::uint32_t fileAlignment = 0x200;
    constexpr std::uint32_t sectionAlignment = 0x1000;

    std::uint32_t alignUp (std::uint32_t value, std::uint32_t alignment)
    {
        return (value + alignment - 1) / alignment * alignment;
    }

    void put16 (Bytes& b, std::uint16_t v)  { b.push_back ((std::uint8_t) v); b.push_back ((std::uint8_t) (v >> 8)); }
    void put32 (Bytes& b, std::uint32_t v)  { put16 (b, (std::uint16_t) v); put16 (b, (std::uint16_t) (v >> 16)); }
    void put64 (Bytes& b, std::uint64_t v)  { put32 (b, (std::uint32_t) v); put32 (b, (std::uint32_t) (v >> 32)); }
    void padTo (Bytes& b, std::size_t size) { if (b.size() < size) b.resize (size, 0); }
    void align4 (Bytes& b)                  { padTo (b, (b.size() + 3) & ~(std::size_t) 3); }

    void putWide (Bytes& b, const std::string& ascii)
    {
        for (auto c : ascii)
            put16 (b, (std::uint16_t) (unsigned char) c);

        put16 (b, 0);
    }

    // One node of the version resource: wLength, wValueLength, wType, the
    // key, the value and the children, each at a 32-bit boundary.
    Bytes versionNode (const std::string& key, const Bytes& value, std::uint16_t valueLength,
                       std::uint16_t type, const std::vector<Bytes>& children)
    {
        Bytes node;
        put16 (node, 0);
        put16 (node, valueLength);
        put16 (node, type);
        putWide (node, key);
        align4 (node);
        node.insert (node.end(), value.begin(), value.end());

        for (const auto& child : children)
        {
            align4 (node);
            node.insert (node.end(), child.begin(), child.end());
        }

        node[0] = (std::uint8_t) node.size();
        node[1] = (std::uint8_t) (node.size() >> 8);
        return node;
    }

    Bytes stringNode (const std::string& key, const std::string& text)
    {
        Bytes value;
        putWide (value, text);
        return versionNode (key, value, (std::uint16_t) (text.size() + 1), 1, {});
    }

    Bytes versionResource (const PeFileOptions& options)
    {
        const auto& v = options.fileVersion;
        const std::uint32_t high = ((std::uint32_t) v[0] << 16) | v[1];
        const std::uint32_t low = ((std::uint32_t) v[2] << 16) | v[3];

        Bytes fixed;
        put32 (fixed, 0xFEEF04BD);    // dwSignature
        put32 (fixed, 0x00010000);    // dwStrucVersion
        put32 (fixed, high);          // dwFileVersionMS
        put32 (fixed, low);           // dwFileVersionLS
        put32 (fixed, high);          // dwProductVersionMS
        put32 (fixed, low);           // dwProductVersionLS
        put32 (fixed, 0x3F);          // dwFileFlagsMask
        put32 (fixed, 0);             // dwFileFlags
        put32 (fixed, 0x00040004);    // dwFileOS: VOS_NT_WINDOWS32
        put32 (fixed, 2);             // dwFileType: VFT_DLL
        put32 (fixed, 0);             // dwFileSubtype
        put32 (fixed, 0);             // dwFileDateMS
        put32 (fixed, 0);             // dwFileDateLS

        auto text = options.stringFileVersion;

        if (text.empty())
            text = std::to_string (v[0]) + "." + std::to_string (v[1]) + "." + std::to_string (v[2]) + "." + std::to_string (v[3]);

        char tableKey[16];
        std::snprintf (tableKey, sizeof (tableKey), "%04X04B0", (unsigned) options.language);

        const auto table = versionNode (tableKey, {}, 0, 1, { stringNode ("CompanyName", "Vamrelund"),
                                                              stringNode ("FileVersion", text),
                                                              stringNode ("ProductVersion", text) });
        const auto strings = versionNode ("StringFileInfo", {}, 0, 1, { table });

        Bytes translation;
        put16 (translation, options.language);
        put16 (translation, 0x04B0);
        const auto vars = versionNode ("VarFileInfo", {}, 0, 1, { versionNode ("Translation", translation, 4, 0, {}) });

        return versionNode ("VS_VERSION_INFO", fixed, (std::uint16_t) fixed.size(), 0, { strings, vars });
    }

    void putSectionHeader (Bytes& b, const char* name, std::uint32_t virtualSize, std::uint32_t virtualAddress,
                           std::uint32_t rawSize, std::uint32_t rawPointer, std::uint32_t characteristics)
    {
        char padded[8] = {};
        std::memcpy (padded, name, std::min<std::size_t> (std::strlen (name), sizeof (padded)));
        b.insert (b.end(), padded, padded + 8);
        put32 (b, virtualSize);
        put32 (b, virtualAddress);
        put32 (b, rawSize);
        put32 (b, rawPointer);
        put32 (b, 0);   // PointerToRelocations
        put32 (b, 0);   // PointerToLinenumbers
        put16 (b, 0);   // NumberOfRelocations
        put16 (b, 0);   // NumberOfLinenumbers
        put32 (b, characteristics);
    }
}

void storeLe16 (std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value)
{
    bytes.at (offset) = (std::uint8_t) value;
    bytes.at (offset + 1) = (std::uint8_t) (value >> 8);
}

void storeLe32 (std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value)
{
    storeLe16 (bytes, offset, (std::uint16_t) value);
    storeLe16 (bytes, offset + 2, (std::uint16_t) (value >> 16));
}

std::vector<std::uint8_t> buildPeFile (const PeFileOptions& options, PeFileLayout* layoutOut)
{
    PeFileLayout layout;
    const std::uint16_t sectionCount = options.withVersionResource ? 2 : 1;
    const std::uint16_t optionalSize = options.pe32 ? 224 : 240;

    // Sections: .text first, then .rsrc.
    const std::uint32_t codeSize = std::max<std::uint32_t> (options.codeSize, 1);
    const std::uint32_t textRva = sectionAlignment;
    const std::uint32_t textRaw = fileAlignment;
    const std::uint32_t textRawSize = alignUp (codeSize, fileAlignment);

    // The resource tree: type, name and language directories with one entry
    // each, the data entry, then the version block.
    const std::uint32_t rsrcRva = textRva + alignUp (codeSize, sectionAlignment);
    const std::uint32_t rsrcRaw = textRaw + textRawSize;

    Bytes rsrc;

    if (options.withVersionResource)
    {
        const auto block = versionResource (options);
        const std::uint32_t blockOffset = 88;

        auto directory = [&rsrc] (std::uint32_t id, std::uint32_t target)
        {
            put32 (rsrc, 0);    // Characteristics
            put32 (rsrc, 0);    // TimeDateStamp
            put16 (rsrc, 0);    // MajorVersion
            put16 (rsrc, 0);    // MinorVersion
            put16 (rsrc, 0);    // NumberOfNamedEntries
            put16 (rsrc, 1);    // NumberOfIdEntries
            put32 (rsrc, id);
            put32 (rsrc, target);
        };

        directory (16, 0x80000000u | 24);           // RT_VERSION
        directory (1, 0x80000000u | 48);            // VS_VERSION_INFO
        directory (options.language, 72);           // the data entry
        put32 (rsrc, rsrcRva + blockOffset);
        put32 (rsrc, (std::uint32_t) block.size());
        put32 (rsrc, 0);
        put32 (rsrc, 0);
        rsrc.insert (rsrc.end(), block.begin(), block.end());

        layout.resourceSection = rsrcRaw;
        layout.nameDirectory = rsrcRaw + 24;
        layout.languageDirectory = rsrcRaw + 48;
        layout.dataEntry = rsrcRaw + 72;
        layout.versionBlock = rsrcRaw + blockOffset;
        layout.fixedFileInfo = rsrcRaw + blockOffset + 40;
        layout.resourceRva = rsrcRva;
    }

    const std::uint32_t rsrcRawSize = alignUp ((std::uint32_t) rsrc.size(), fileAlignment);
    const std::uint32_t imageSize = options.withVersionResource ? rsrcRva + alignUp ((std::uint32_t) rsrc.size(), sectionAlignment)
                                                                : rsrcRva;

    Bytes b;

    // DOS header: only "MZ" and e_lfanew matter.
    b.push_back ('M');
    b.push_back ('Z');
    padTo (b, 0x3C);
    put32 (b, 0x40);

    layout.peHeader = b.size();
    b.insert (b.end(), { 'P', 'E', 0, 0 });
    put16 (b, options.pe32 ? 0x014C : 0x8664);                  // Machine
    put16 (b, sectionCount);
    put32 (b, 0);                                               // TimeDateStamp
    put32 (b, 0);                                               // PointerToSymbolTable
    put32 (b, 0);                                               // NumberOfSymbols
    put16 (b, optionalSize);
    put16 (b, options.pe32 ? 0x2102 : 0x2022);                  // DLL, executable image

    layout.optionalHeader = b.size();
    put16 (b, options.pe32 ? 0x10B : 0x20B);
    b.push_back (14);                                           // linker version
    b.push_back (0);
    put32 (b, textRawSize);                                     // SizeOfCode
    put32 (b, rsrcRawSize);                                     // SizeOfInitializedData
    put32 (b, 0);                                               // SizeOfUninitializedData
    put32 (b, 0);                                               // AddressOfEntryPoint: none
    put32 (b, textRva);                                         // BaseOfCode

    if (options.pe32)
    {
        put32 (b, rsrcRva);                                     // BaseOfData
        put32 (b, 0x10000000);                                  // ImageBase
    }
    else
    {
        put64 (b, 0x180000000ull);
    }

    put32 (b, sectionAlignment);
    put32 (b, fileAlignment);
    put16 (b, 6); put16 (b, 0);                                 // operating system version
    put16 (b, 0); put16 (b, 0);                                 // image version
    put16 (b, 6); put16 (b, 0);                                 // subsystem version
    put32 (b, 0);                                               // Win32VersionValue
    put32 (b, imageSize);
    put32 (b, fileAlignment);                                   // SizeOfHeaders
    put32 (b, 0);                                               // CheckSum
    put16 (b, 2);                                               // Subsystem: GUI
    put16 (b, 0);                                               // DllCharacteristics

    for (int i = 0; i < 4; ++i)                                 // stack and heap sizes
        options.pe32 ? put32 (b, 0x100000) : put64 (b, 0x100000);

    put32 (b, 0);                                               // LoaderFlags
    put32 (b, 16);                                              // NumberOfRvaAndSizes

    for (int i = 0; i < 16; ++i)
    {
        if (i == 2)
            layout.resourceDirectoryEntry = b.size();

        const bool resources = (i == 2 && options.withVersionResource);
        put32 (b, resources ? rsrcRva : 0);
        put32 (b, resources ? (std::uint32_t) rsrc.size() : 0);
    }

    layout.sectionTable = b.size();
    putSectionHeader (b, ".text", codeSize, textRva, textRawSize, textRaw, 0x60000020);

    if (options.withVersionResource)
        putSectionHeader (b, ".rsrc", (std::uint32_t) rsrc.size(), rsrcRva, rsrcRawSize, rsrcRaw, 0x40000040);

    padTo (b, textRaw);
    b.push_back (0xC3);                                         // ret
    padTo (b, textRaw + textRawSize);

    if (options.withVersionResource)
    {
        b.insert (b.end(), rsrc.begin(), rsrc.end());
        padTo (b, rsrcRaw + rsrcRawSize);
    }

    layout.fileSize = b.size();

    if (layoutOut != nullptr)
        *layoutOut = layout;

    return b;
}

bool writeBytes (const juce::File& file, const std::vector<std::uint8_t>& bytes)
{
    return file.getParentDirectory().createDirectory()
        && file.replaceWithData (bytes.data(), bytes.size());
}

bool writePeFile (const juce::File& file, const PeFileOptions& options)
{
    return writeBytes (file, buildPeFile (options));
}
