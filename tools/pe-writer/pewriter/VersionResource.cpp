#include "pewriter/VersionResource.h"

#include <cstdio>

namespace pewriter
{
namespace
{
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
        padToMultiple (node, 4);
        node.insert (node.end(), value.begin(), value.end());

        for (const auto& child : children)
        {
            padToMultiple (node, 4);
            node.insert (node.end(), child.begin(), child.end());
        }

        storeLe16 (node, 0, static_cast<std::uint16_t> (node.size()));
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
        const auto ms = [] (const VersionQuad& v) { return (std::uint32_t (v[0]) << 16) | v[1]; };
        const auto ls = [] (const VersionQuad& v) { return (std::uint32_t (v[2]) << 16) | v[3]; };

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
}

Bytes versionResource (const PeImageRecipe& recipe)
{
    std::vector<Bytes> strings;
    for (const auto& [key, value] : recipe.strings)
        strings.push_back (stringNode (key, value));

    char tableKey[16];
    std::snprintf (tableKey, sizeof (tableKey), "%04X04B0", static_cast<unsigned> (recipe.language));

    const auto table = versionNode (tableKey, {}, 0, 1, strings);
    const auto stringFileInfo = versionNode ("StringFileInfo", {}, 0, 1, { table });

    Bytes translation;
    put16 (translation, recipe.language);
    put16 (translation, 0x04b0);   // Unicode code page
    const auto var = versionNode ("Translation", translation, 4, 0, {});
    const auto varFileInfo = versionNode ("VarFileInfo", {}, 0, 1, { var });

    const auto fixed = fixedFileInfo (recipe);
    return versionNode ("VS_VERSION_INFO", fixed, static_cast<std::uint16_t> (fixed.size()), 0, { stringFileInfo, varFileInfo });
}

Bytes resourceSection (const PeImageRecipe& recipe, std::uint32_t sectionRva)
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

    constexpr std::uint32_t subdirectory = 0x80000000u;
    directory (16, subdirectory | ResourceOffsets::nameDirectory);
    directory (1, subdirectory | ResourceOffsets::languageDirectory);
    directory (recipe.language, ResourceOffsets::dataEntry);

    const auto block = versionResource (recipe);
    put32 (rsrc, sectionRva + ResourceOffsets::versionBlock);
    put32 (rsrc, static_cast<std::uint32_t> (block.size()));
    put32 (rsrc, 0);   // CodePage
    put32 (rsrc, 0);   // Reserved
    rsrc.insert (rsrc.end(), block.begin(), block.end());
    return rsrc;
}
}
