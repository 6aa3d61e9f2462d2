#include "pewriter/LittleEndian.h"

namespace pewriter
{
void put16 (Bytes& bytes, std::uint16_t value)
{
    bytes.push_back (static_cast<std::uint8_t> (value));
    bytes.push_back (static_cast<std::uint8_t> (value >> 8));
}

void put32 (Bytes& bytes, std::uint32_t value)
{
    put16 (bytes, static_cast<std::uint16_t> (value));
    put16 (bytes, static_cast<std::uint16_t> (value >> 16));
}

void put64 (Bytes& bytes, std::uint64_t value)
{
    put32 (bytes, static_cast<std::uint32_t> (value));
    put32 (bytes, static_cast<std::uint32_t> (value >> 32));
}

void storeLe16 (Bytes& bytes, std::size_t offset, std::uint16_t value)
{
    bytes.at (offset) = static_cast<std::uint8_t> (value);
    bytes.at (offset + 1) = static_cast<std::uint8_t> (value >> 8);
}

void storeLe32 (Bytes& bytes, std::size_t offset, std::uint32_t value)
{
    storeLe16 (bytes, offset, static_cast<std::uint16_t> (value));
    storeLe16 (bytes, offset + 2, static_cast<std::uint16_t> (value >> 16));
}

void padToMultiple (Bytes& bytes, std::size_t alignment)
{
    while (bytes.size() % alignment != 0)
        bytes.push_back (0);
}
}
