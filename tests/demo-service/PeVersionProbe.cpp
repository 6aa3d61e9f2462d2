#include "demo-service/PeVersionProbe.h"

#include <cstring>
#include <string>

namespace
{
    struct Reader
    {
        const std::vector<std::uint8_t>& bytes;

        bool has (std::size_t at, std::size_t count) const { return at + count <= bytes.size(); }
        std::uint16_t u16 (std::size_t at) const { return std::uint16_t (bytes[at] | (bytes[at + 1] << 8)); }
        std::uint32_t u32 (std::size_t at) const { return u16 (at) | (std::uint32_t (u16 (at + 2)) << 16); }
    };
}

std::optional<std::array<std::uint16_t, 4>> probePeFileVersion (const std::vector<std::uint8_t>& image)
{
    const Reader r { image };

    if (! r.has (0, 0x40) || r.u16 (0) != 0x5a4d)
        return std::nullopt;

    const auto pe = r.u32 (0x3c);
    if (! r.has (pe, 24) || r.u32 (pe) != 0x00004550 || r.u16 (pe + 4) != 0x8664)
        return std::nullopt;

    const auto sections = r.u16 (pe + 6);
    const auto optionalSize = r.u16 (pe + 20);
    const auto optional = pe + 24;

    if (! r.has (optional, optionalSize) || r.u16 (optional) != 0x20b || optionalSize < 112 + 3 * 8)
        return std::nullopt;

    const auto resourceRva = r.u32 (optional + 112 + 2 * 8);
    const auto sectionTable = optional + optionalSize;

    // RVA to file offset through the section table.
    const auto toOffset = [&] (std::uint32_t rva) -> std::optional<std::size_t>
    {
        for (std::size_t i = 0; i < sections; ++i)
        {
            const auto s = sectionTable + i * 40;
            if (! r.has (s, 40))
                return std::nullopt;

            const auto va = r.u32 (s + 12), rawSize = r.u32 (s + 16), raw = r.u32 (s + 20);
            if (rva >= va && rva < va + rawSize)
                return raw + (rva - va);
        }
        return std::nullopt;
    };

    const auto resourceBase = toOffset (resourceRva);
    if (! resourceBase)
        return std::nullopt;

    // Type level: find id 16 (RT_VERSION); then take the first name and the first language.
    std::size_t directory = *resourceBase;
    std::uint32_t wanted = 16;

    for (int level = 0; level < 3; ++level)
    {
        if (! r.has (directory, 16))
            return std::nullopt;

        const std::size_t count = std::size_t (r.u16 (directory + 12)) + r.u16 (directory + 14);
        std::optional<std::uint32_t> target;

        for (std::size_t i = 0; i < count; ++i)
        {
            const auto entry = directory + 16 + i * 8;
            if (! r.has (entry, 8))
                return std::nullopt;
            if (level > 0 || r.u32 (entry) == wanted)
            {
                target = r.u32 (entry + 4);
                break;
            }
        }

        if (! target)
            return std::nullopt;

        const bool isDirectory = (*target & 0x80000000u) != 0;
        if (isDirectory != (level < 2))
            return std::nullopt;

        directory = *resourceBase + (*target & 0x7fffffffu);
    }

    if (! r.has (directory, 16))
        return std::nullopt;

    const auto data = toOffset (r.u32 (directory));
    const auto size = r.u32 (directory + 4);
    if (! data || ! r.has (*data, size) || size < 92)
        return std::nullopt;

    // VS_VERSIONINFO: key at 6, VS_FIXEDFILEINFO at 40.
    const std::u16string key = u"VS_VERSION_INFO";
    for (std::size_t i = 0; i < key.size(); ++i)
        if (r.u16 (*data + 6 + 2 * i) != key[i])
            return std::nullopt;

    const auto fixed = *data + 40;
    if (r.u16 (*data + 2) != 52 || r.u32 (fixed) != 0xfeef04bd)
        return std::nullopt;

    const auto ms = r.u32 (fixed + 8), ls = r.u32 (fixed + 12);
    return std::array<std::uint16_t, 4> { std::uint16_t (ms >> 16), std::uint16_t (ms), std::uint16_t (ls >> 16), std::uint16_t (ls) };
}

std::pair<std::uint32_t, std::uint32_t> probePeChecksum (const std::vector<std::uint8_t>& image)
{
    const Reader r { image };
    const auto field = r.u32 (0x3c) + 24 + 64;

    std::uint64_t sum = 0;
    for (std::size_t i = 0; i + 1 < image.size(); i += 2)
    {
        if (i == field || i == field + 2)
            continue;
        sum += r.u16 (i);
        sum = (sum & 0xffff) + (sum >> 16);
    }
    sum = (sum & 0xffff) + (sum >> 16);
    return { r.u32 (field), std::uint32_t (sum + image.size()) };
}
