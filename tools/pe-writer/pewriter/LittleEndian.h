#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

/** Little-endian appends and in-place stores: every field of a PE image is
    written this way, and tests damage built images in place with them. */
namespace pewriter
{
    using Bytes = std::vector<std::uint8_t>;

    void put16 (Bytes& bytes, std::uint16_t value);
    void put32 (Bytes& bytes, std::uint32_t value);
    void put64 (Bytes& bytes, std::uint64_t value);

    void storeLe16 (Bytes& bytes, std::size_t offset, std::uint16_t value);
    void storeLe32 (Bytes& bytes, std::size_t offset, std::uint32_t value);

    /** Zeros until the size is a multiple of `alignment`. */
    void padToMultiple (Bytes& bytes, std::size_t alignment);
}
