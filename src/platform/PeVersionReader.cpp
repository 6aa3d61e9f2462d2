#include "platform/PeVersionReader.h"

#include <cstring>
#include <vector>

namespace PeVersionReader
{
    MemorySource::MemorySource (const void* data, std::size_t size) noexcept
        : bytes (static_cast<const std::uint8_t*> (data)), length (data != nullptr ? size : 0)
    {
    }

    std::uint64_t MemorySource::size() const
    {
        return length;
    }

    bool MemorySource::read (std::uint64_t offset, void* dest, std::size_t count)
    {
        if (offset > length || count > length - offset)
            return false;

        if (count > 0)
            std::memcpy (dest, bytes + offset, count);

        return true;
    }

    namespace
    {
        constexpr std::uint32_t resourceTypeVersion = 16;    // RT_VERSION
        constexpr std::uint32_t versionInfoName = 1;         // VS_VERSION_INFO
        constexpr std::uint32_t highBit = 0x80000000u;
        constexpr std::uint32_t fixedInfoSignature = 0xFEEF04BDu;
        constexpr std::size_t fixedInfoSize = 52;            // sizeof (VS_FIXEDFILEINFO)

        // The header of VS_VERSIONINFO, its key and the fixed info fit well
        // within this; the rest of the block (string tables) is not needed.
        constexpr std::size_t maxVersionBlockRead = 1024;

        std::uint16_t le16 (const std::uint8_t* p) noexcept
        {
            return (std::uint16_t) (p[0] | (p[1] << 8));
        }

        std::uint32_t le32 (const std::uint8_t* p) noexcept
        {
            return (std::uint32_t) p[0] | ((std::uint32_t) p[1] << 8)
                 | ((std::uint32_t) p[2] << 16) | ((std::uint32_t) p[3] << 24);
        }

        struct Section
        {
            std::uint32_t virtualAddress = 0;
            std::uint32_t virtualSize = 0;
            std::uint32_t rawSize = 0;
            std::uint32_t rawPointer = 0;
        };

        struct Location
        {
            std::uint64_t fileOffset = 0;
            std::uint64_t bytesInSection = 0;
        };

        class Image
        {
        public:
            explicit Image (ByteSource& s) : source (s) {}

            bool readHeaders()
            {
                std::uint8_t dos[64];

                if (! source.read (0, dos, sizeof (dos)) || dos[0] != 'M' || dos[1] != 'Z')
                    return false;

                const std::uint64_t peOffset = le32 (dos + 0x3C);
                std::uint8_t coff[24];   // "PE\0\0" and IMAGE_FILE_HEADER

                if (! source.read (peOffset, coff, sizeof (coff))
                     || std::memcmp (coff, "PE\0\0", 4) != 0)
                    return false;

                const auto sectionCount = le16 (coff + 6);
                const auto optionalSize = le16 (coff + 20);

                // At most 65535 sections: a table of 2.6 MB at worst, and it
                // must lie within the file before it is used.
                if (sectionCount == 0)
                    return false;

                const auto optionalOffset = peOffset + sizeof (coff);
                std::uint8_t magicBytes[2];

                if (! source.read (optionalOffset, magicBytes, 2))
                    return false;

                // Where NumberOfRvaAndSizes and the data directories sit
                // differs between PE32 and PE32+.
                std::uint32_t countField = 0, directoriesField = 0;

                switch (le16 (magicBytes))
                {
                    case 0x10B: countField = 92;  directoriesField = 96;  break;
                    case 0x20B: countField = 108; directoriesField = 112; break;
                    default:    return false;
                }

                const std::uint32_t resourceEntry = directoriesField + 2 * 8;   // IMAGE_DIRECTORY_ENTRY_RESOURCE

                if (resourceEntry + 8 > optionalSize)
                    return false;

                std::uint8_t count[4], directory[8];

                if (! source.read (optionalOffset + countField, count, 4) || le32 (count) < 3
                     || ! source.read (optionalOffset + resourceEntry, directory, 8))
                    return false;

                resourceRva = le32 (directory);

                if (resourceRva == 0)
                    return false;

                const auto tableOffset = optionalOffset + optionalSize;
                const auto tableSize = (std::uint64_t) sectionCount * 40;

                if (tableOffset > source.size() || tableSize > source.size() - tableOffset)
                    return false;

                std::vector<std::uint8_t> table ((std::size_t) tableSize);

                if (! source.read (tableOffset, table.data(), table.size()))
                    return false;

                for (std::size_t i = 0; i < sectionCount; ++i)
                {
                    const auto* entry = table.data() + i * 40;
                    Section section;
                    section.virtualSize = le32 (entry + 8);
                    section.virtualAddress = le32 (entry + 12);
                    section.rawSize = le32 (entry + 16);
                    section.rawPointer = le32 (entry + 20);
                    sections.push_back (section);
                }

                return true;
            }

            /** Reads count bytes at an address of the loaded image, from the
                raw data of the section that holds it. */
            bool readAt (std::uint64_t rva, void* dest, std::size_t count)
            {
                auto where = locate (rva);
                return where.has_value() && count <= where->bytesInSection
                    && source.read (where->fileOffset, dest, count);
            }

            std::optional<Location> locate (std::uint64_t rva) const
            {
                for (const auto& section : sections)
                {
                    const std::uint64_t start = section.virtualAddress;
                    const std::uint64_t mapped = section.virtualSize != 0 ? section.virtualSize : section.rawSize;

                    if (rva < start || rva - start >= mapped)
                        continue;

                    const auto offsetInSection = rva - start;

                    // Past the raw data the loader fills with zeros; no
                    // resource can live there.
                    if (offsetInSection >= section.rawSize)
                        return std::nullopt;

                    return Location { (std::uint64_t) section.rawPointer + offsetInSection,
                                      section.rawSize - offsetInSection };
                }

                return std::nullopt;
            }

            std::uint32_t resourceRoot() const noexcept { return resourceRva; }

        private:
            ByteSource& source;
            std::vector<Section> sections;
            std::uint32_t resourceRva = 0;
        };

        struct DirectoryEntry
        {
            std::uint32_t name = 0;
            std::uint32_t target = 0;

            bool hasNumericName() const noexcept  { return (name & highBit) == 0; }
            bool isDirectory() const noexcept     { return (target & highBit) != 0; }
            std::uint32_t offset() const noexcept { return target & ~highBit; }
        };

        // The entries of one IMAGE_RESOURCE_DIRECTORY, at an offset from the
        // start of the resource tree.
        bool readDirectory (Image& image, std::uint32_t offset, std::vector<DirectoryEntry>& entries)
        {
            const std::uint64_t rva = (std::uint64_t) image.resourceRoot() + offset;
            std::uint8_t header[16];

            if (! image.readAt (rva, header, sizeof (header)))
                return false;

            const std::size_t count = (std::size_t) le16 (header + 12) + le16 (header + 14);
            std::vector<std::uint8_t> raw (count * 8);

            if (! image.readAt (rva + sizeof (header), raw.data(), raw.size()))
                return false;

            entries.clear();

            for (std::size_t i = 0; i < count; ++i)
                entries.push_back ({ le32 (raw.data() + i * 8), le32 (raw.data() + i * 8 + 4) });

            return true;
        }

        // The sub-directory listed under a numeric id. A name that leads to a
        // data entry where a directory belongs marks a damaged tree.
        std::optional<std::uint32_t> findSubdirectory (Image& image, std::uint32_t offset, std::uint32_t id)
        {
            std::vector<DirectoryEntry> entries;

            if (! readDirectory (image, offset, entries))
                return std::nullopt;

            for (const auto& entry : entries)
                if (entry.hasNumericName() && entry.name == id)
                    return entry.isDirectory() ? std::optional<std::uint32_t> (entry.offset()) : std::nullopt;

            return std::nullopt;
        }

        std::optional<FileVersion> parseVersionBlock (const std::uint8_t* block, std::size_t size)
        {
            // WORD wLength, WORD wValueLength, WORD wType, then the key
            // "VS_VERSION_INFO" in UTF-16 with its terminator; the value
            // starts at the next 32-bit boundary.
            std::size_t position = 6;

            for (;;)
            {
                if (position + 2 > size)
                    return std::nullopt;

                const auto unit = le16 (block + position);
                position += 2;

                if (unit == 0)
                    break;
            }

            position = (position + 3) & ~(std::size_t) 3;

            if (position + fixedInfoSize > size || le32 (block + position) != fixedInfoSignature)
                return std::nullopt;

            const auto high = le32 (block + position + 8);    // dwFileVersionMS
            const auto low = le32 (block + position + 12);    // dwFileVersionLS

            return FileVersion { (std::uint16_t) (high >> 16), (std::uint16_t) (high & 0xFFFF),
                                 (std::uint16_t) (low >> 16), (std::uint16_t) (low & 0xFFFF) };
        }
    }

    std::optional<FileVersion> readFixedFileVersion (ByteSource& source)
    {
        Image image (source);

        if (! image.readHeaders())
            return std::nullopt;

        // Type, then name, then language: three levels and no more, so a
        // tree whose offsets loop back on themselves cannot keep us walking.
        const auto names = findSubdirectory (image, 0, resourceTypeVersion);

        if (! names)
            return std::nullopt;

        const auto languages = findSubdirectory (image, *names, versionInfoName);

        if (! languages)
            return std::nullopt;

        std::vector<DirectoryEntry> entries;

        // Windows and Wine take the first language listed.
        if (! readDirectory (image, *languages, entries) || entries.empty() || entries.front().isDirectory())
            return std::nullopt;

        std::uint8_t dataEntry[16];   // IMAGE_RESOURCE_DATA_ENTRY

        if (! image.readAt ((std::uint64_t) image.resourceRoot() + entries.front().offset(), dataEntry, sizeof (dataEntry)))
            return std::nullopt;

        const auto dataRva = le32 (dataEntry);
        const auto dataSize = le32 (dataEntry + 4);
        const auto where = image.locate (dataRva);

        if (! where)
            return std::nullopt;

        std::uint64_t wanted = dataSize;

        if (wanted > where->bytesInSection)  wanted = where->bytesInSection;
        if (wanted > maxVersionBlockRead)    wanted = maxVersionBlockRead;

        // A block cut short by the end of the file belongs to an image that
        // Windows would not load either.
        std::vector<std::uint8_t> block ((std::size_t) wanted);

        if (block.empty() || ! source.read (where->fileOffset, block.data(), block.size()))
            return std::nullopt;

        return parseVersionBlock (block.data(), block.size());
    }

    std::optional<FileVersion> readFixedFileVersion (const void* data, std::size_t size)
    {
        MemorySource source (data, size);
        return readFixedFileVersion (source);
    }
}
