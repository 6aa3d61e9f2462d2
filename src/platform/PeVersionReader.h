#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

/** A reader for the file version in the version resource of a PE file
    (.dll, single-file .vst3, .exe), for systems that have no
    GetFileVersionInfo.

    It walks the resource tree the way Windows does (type RT_VERSION, name
    VS_VERSION_INFO, the first language) and takes the file version from the
    VS_FIXEDFILEINFO block. Every offset in the file is checked against the
    file's size before it is used, the tree is walked to a fixed depth, and
    no more than a few kilobytes are read, so damaged or hostile files give
    no version rather than a crash, a hang or a large allocation.

    This file has no dependency beyond the standard library, so the fuzz
    target can build it on its own.
*/
namespace PeVersionReader
{
    /** Random access to the bytes of one file. */
    class ByteSource
    {
    public:
        virtual ~ByteSource() = default;

        virtual std::uint64_t size() const = 0;

        /** Copies count bytes from offset into dest. False when they are not all there. */
        virtual bool read (std::uint64_t offset, void* dest, std::size_t count) = 0;
    };

    /** Bytes already in memory. */
    class MemorySource : public ByteSource
    {
    public:
        MemorySource (const void* data, std::size_t size) noexcept;

        std::uint64_t size() const override;
        bool read (std::uint64_t offset, void* dest, std::size_t count) override;

    private:
        const std::uint8_t* bytes;
        std::size_t length;
    };

    /** The four numbers of the file version, in the order Windows shows
        them: high and low word of dwFileVersionMS, then of dwFileVersionLS. */
    using FileVersion = std::array<std::uint16_t, 4>;

    /** The file version of the fixed file info, or nothing when the bytes are
        not a PE image with a well-formed version resource. */
    std::optional<FileVersion> readFixedFileVersion (ByteSource& source);
    std::optional<FileVersion> readFixedFileVersion (const void* data, std::size_t size);
}
