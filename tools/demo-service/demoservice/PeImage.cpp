#include "demoservice/PeImage.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace demoservice
{
namespace
{
    using Bytes = std::vector<std::uint8_t>;

    void put16 (Bytes& b, std::uint16_t v)
    {
        b.push_back (static_cast<std::uint8_t> (v));
        b.push_back (static_cast<std::uint8_t> (v >> 8));
    }

    void put32 (Bytes& b, std::uint32_t v)
    {
        put16 (b, static_cast<std::uint16_t> (v));
        put16 (b, static_cast<std::uint16_t> (v >> 16));
    }

    void put64 (Bytes& b, std::uint64_t v)
    {
        put32 (b, static_cast<std::uint32_t> (v));
        put32 (b, static_cast<std::uint32_t> (v >> 32));
    }

    void set16 (Bytes& b, std::size_t at, std::uint16_t v)
    {
        b[at] = static_cast<std::uint8_t> (v);
        b[at + 1] = static_cast<std::uint8_t> (v >> 8);
    }

    void set32 (Bytes& b, std::size_t at, std::uint32_t v)
    {
        set16 (b, at, static_cast<std::uint16_t> (v));
        set16 (b, at + 2, static_cast<std::uint16_t> (v >> 16));
    }

    void padTo (Bytes& b, std::size_t alignment)
    {
        while (b.size() % alignment != 0)
            b.push_back (0);
    }

    std::uint32_t alignUp (std::uint32_t v, std::uint32_t alignment)
    {
        return (v + alignment - 1) / alignment * alignment;
    }

    /** UTF-8 to UTF-16 code units; invalid sequences become U+FFFD. */
    std::u16string toUtf16 (const std::string& text)
    {
        std::u16string out;
        std::size_t i = 0;

        while (i < text.size())
        {
            const auto c = static_cast<unsigned char> (text[i]);
            std::uint32_t cp = 0xfffd;
            std::size_t extra = 0;

            if (c < 0x80)                { cp = c; }
            else if ((c & 0xe0) == 0xc0) { cp = c & 0x1fu; extra = 1; }
            else if ((c & 0xf0) == 0xe0) { cp = c & 0x0fu; extra = 2; }
            else if ((c & 0xf8) == 0xf0) { cp = c & 0x07u; extra = 3; }

            ++i;
            for (std::size_t k = 0; k < extra; ++k, ++i)
            {
                if (i >= text.size() || (static_cast<unsigned char> (text[i]) & 0xc0) != 0x80)
                {
                    cp = 0xfffd;
                    break;
                }
                cp = (cp << 6) | (static_cast<unsigned char> (text[i]) & 0x3fu);
            }

            if (cp >= 0x10000)
            {
                cp -= 0x10000;
                out.push_back (static_cast<char16_t> (0xd800 + (cp >> 10)));
                out.push_back (static_cast<char16_t> (0xdc00 + (cp & 0x3ff)));
            }
            else
            {
                out.push_back (static_cast<char16_t> (cp));
            }
        }

        return out;
    }

    void putWide (Bytes& b, const std::u16string& text)
    {
        for (auto ch : text)
            put16 (b, static_cast<std::uint16_t> (ch));
        put16 (b, 0);
    }

    /** One node of the version resource tree: wLength, wValueLength, wType,
        the key as a NUL-terminated UTF-16 string, padding to 32 bits, the
        value, then each child on a 32-bit boundary. wLength covers the node
        without the padding that follows it. Every node starts 32-bit aligned,
        so padding relative to the node start is padding relative to the
        resource. */
    Bytes versionNode (const std::string& key, const Bytes& value, std::uint16_t valueLength,
                       std::uint16_t type, const std::vector<Bytes>& children)
    {
        Bytes node;
        put16 (node, 0);
        put16 (node, valueLength);
        put16 (node, type);
        putWide (node, toUtf16 (key));
        padTo (node, 4);
        node.insert (node.end(), value.begin(), value.end());

        for (const auto& child : children)
        {
            padTo (node, 4);
            node.insert (node.end(), child.begin(), child.end());
        }

        set16 (node, 0, static_cast<std::uint16_t> (node.size()));
        return node;
    }

    Bytes stringNode (const std::string& key, const std::string& value)
    {
        const auto wide = toUtf16 (value);
        Bytes text;
        putWide (text, wide);
        return versionNode (key, text, static_cast<std::uint16_t> (wide.size() + 1), 1, {});
    }

    Bytes fixedFileInfo (const PeImageRecipe& recipe)
    {
        const auto ms = [] (const std::array<std::uint16_t, 4>& v) { return (std::uint32_t (v[0]) << 16) | v[1]; };
        const auto ls = [] (const std::array<std::uint16_t, 4>& v) { return (std::uint32_t (v[2]) << 16) | v[3]; };

        Bytes info;
        put32 (info, 0xfeef04bd);                  // dwSignature
        put32 (info, 0x00010000);                  // dwStrucVersion
        put32 (info, ms (recipe.fileVersion));
        put32 (info, ls (recipe.fileVersion));
        put32 (info, ms (recipe.productVersion));
        put32 (info, ls (recipe.productVersion));
        put32 (info, 0x3f);                        // dwFileFlagsMask
        put32 (info, 0);                           // dwFileFlags
        put32 (info, 0x00040004);                  // VOS_NT_WINDOWS32
        put32 (info, recipe.kind == PeImageRecipe::Kind::dll ? 2u : 1u); // VFT_DLL or VFT_APP
        put32 (info, 0);                           // dwFileSubtype
        put32 (info, 0);                           // dwFileDateMS
        put32 (info, 0);                           // dwFileDateLS
        return info;
    }

    Bytes versionResource (const PeImageRecipe& recipe)
    {
        std::vector<Bytes> strings;
        for (const auto& [key, value] : recipe.strings)
            strings.push_back (stringNode (key, value));

        const auto table = versionNode ("040904B0", {}, 0, 1, strings);
        const auto stringFileInfo = versionNode ("StringFileInfo", {}, 0, 1, { table });

        Bytes translation;
        put16 (translation, 0x0409);   // US English
        put16 (translation, 0x04b0);   // Unicode code page
        const auto var = versionNode ("Translation", translation, 4, 0, {});
        const auto varFileInfo = versionNode ("VarFileInfo", {}, 0, 1, { var });

        return versionNode ("VS_VERSION_INFO", fixedFileInfo (recipe), 52, 0, { stringFileInfo, varFileInfo });
    }

    /** The .rsrc section: type RT_VERSION (16) -> id 1 -> language 0x0409 ->
        data entry -> the VS_VERSIONINFO bytes. */
    Bytes resourceSection (const Bytes& versionInfo, std::uint32_t sectionRva)
    {
        Bytes rsrc;
        const auto directory = [&rsrc] (std::uint32_t id, std::uint32_t target)
        {
            put32 (rsrc, 0);   // Characteristics
            put32 (rsrc, 0);   // TimeDateStamp
            put16 (rsrc, 0);   // MajorVersion
            put16 (rsrc, 0);   // MinorVersion
            put16 (rsrc, 0);   // NumberOfNamedEntries
            put16 (rsrc, 1);   // NumberOfIdEntries
            put32 (rsrc, id);
            put32 (rsrc, target);
        };

        directory (16, 0x80000000u | 0x18);
        directory (1, 0x80000000u | 0x30);
        directory (0x0409, 0x48);

        const std::uint32_t dataOffset = 0x58;
        put32 (rsrc, sectionRva + dataOffset);
        put32 (rsrc, static_cast<std::uint32_t> (versionInfo.size()));
        put32 (rsrc, 0);   // CodePage
        put32 (rsrc, 0);   // Reserved
        rsrc.insert (rsrc.end(), versionInfo.begin(), versionInfo.end());
        return rsrc;
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
}

std::array<std::uint16_t, 4> versionQuad (const std::string& version, const std::string& build)
{
    std::array<std::uint16_t, 4> quad { 0, 0, 0, 0 };

    const auto clamp16 = [] (const std::string& text) -> std::uint16_t
    {
        if (text.empty() || ! std::all_of (text.begin(), text.end(), [] (char c) { return c >= '0' && c <= '9'; }))
            return 0;

        const auto value = std::strtoull (text.c_str(), nullptr, 10);
        return static_cast<std::uint16_t> (std::min<unsigned long long> (value, 0xffff));
    };

    std::size_t part = 0, start = 0;
    while (part < 3 && start <= version.size())
    {
        const auto dot = version.find ('.', start);
        quad[part++] = clamp16 (version.substr (start, dot == std::string::npos ? std::string::npos : dot - start));
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }

    quad[3] = clamp16 (build);
    return quad;
}

std::vector<std::uint8_t> buildPeImage (const PeImageRecipe& recipe)
{
    constexpr std::uint32_t fileAlignment = 0x200;
    constexpr std::uint32_t sectionAlignment = 0x1000;
    constexpr std::uint32_t headersSize = 0x200;
    constexpr std::uint32_t peOffset = 0x80;
    constexpr std::uint32_t textRva = 0x1000, textRaw = 0x200;
    constexpr std::uint32_t rsrcRva = 0x2000, rsrcRaw = 0x400;

    const bool isDll = recipe.kind == PeImageRecipe::Kind::dll;

    // DllMain returns TRUE; an EXE's entry point returns 0, which ends the process with code 0.
    const Bytes code = isDll ? Bytes { 0xb8, 0x01, 0x00, 0x00, 0x00, 0xc3 }   // mov eax, 1; ret
                             : Bytes { 0x31, 0xc0, 0xc3 };                    // xor eax, eax; ret

    const auto rsrc = resourceSection (versionResource (recipe), rsrcRva);
    const auto rsrcSize = static_cast<std::uint32_t> (rsrc.size());
    const auto rsrcRawSize = alignUp (rsrcSize, fileAlignment);

    Bytes image;

    // DOS header and the customary stub.
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

    // PE signature and COFF file header.
    put32 (image, 0x00004550);                           // "PE\0\0"
    put16 (image, 0x8664);                               // AMD64
    put16 (image, 2);                                    // NumberOfSections
    put32 (image, 0);                                    // TimeDateStamp
    put32 (image, 0);                                    // PointerToSymbolTable
    put32 (image, 0);                                    // NumberOfSymbols
    put16 (image, 240);                                  // SizeOfOptionalHeader
    put16 (image, isDll ? 0x2022 : 0x0022);              // EXECUTABLE | LARGE_ADDRESS_AWARE (| DLL)

    // Optional header, PE32+.
    const auto optionalStart = image.size();
    put16 (image, 0x20b);
    image.push_back (14);                                // linker version
    image.push_back (0);
    put32 (image, fileAlignment);                        // SizeOfCode
    put32 (image, rsrcRawSize);                          // SizeOfInitializedData
    put32 (image, 0);                                    // SizeOfUninitializedData
    put32 (image, textRva);                              // AddressOfEntryPoint
    put32 (image, textRva);                              // BaseOfCode
    put64 (image, isDll ? 0x180000000ull : 0x140000000ull);
    put32 (image, sectionAlignment);
    put32 (image, fileAlignment);
    put16 (image, 6); put16 (image, 0);                  // operating system version
    put16 (image, 0); put16 (image, 0);                  // image version
    put16 (image, 6); put16 (image, 0);                  // subsystem version
    put32 (image, 0);                                    // Win32VersionValue
    put32 (image, rsrcRva + alignUp (rsrcSize, sectionAlignment)); // SizeOfImage
    put32 (image, headersSize);
    const auto checksumOffset = image.size();
    put32 (image, 0);                                    // CheckSum, filled in last
    put16 (image, 2);                                    // Windows GUI
    put16 (image, 0x0160);                               // HIGH_ENTROPY_VA | DYNAMIC_BASE | NX_COMPAT
    put64 (image, 0x100000);                             // stack reserve
    put64 (image, 0x1000);                               // stack commit
    put64 (image, 0x100000);                             // heap reserve
    put64 (image, 0x1000);                               // heap commit
    put32 (image, 0);                                    // LoaderFlags
    put32 (image, 16);                                   // NumberOfRvaAndSizes

    for (int i = 0; i < 16; ++i)
    {
        const bool isResource = i == 2;
        put32 (image, isResource ? rsrcRva : 0);
        put32 (image, isResource ? rsrcSize : 0);
    }

    if (image.size() - optionalStart != 240)
        std::abort();

    const auto section = [&image] (const char* name, std::uint32_t virtualSize, std::uint32_t rva,
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
    };

    section (".text", static_cast<std::uint32_t> (code.size()), textRva, fileAlignment, textRaw, 0x60000020); // code, execute, read
    section (".rsrc", rsrcSize, rsrcRva, rsrcRawSize, rsrcRaw, 0x40000040);                                   // initialised data, read

    image.resize (textRaw, 0);
    image.insert (image.end(), code.begin(), code.end());
    image.resize (rsrcRaw, 0);
    image.insert (image.end(), rsrc.begin(), rsrc.end());
    image.resize (rsrcRaw + rsrcRawSize, 0);

    set32 (image, checksumOffset, peChecksum (image, checksumOffset));
    return image;
}
}
