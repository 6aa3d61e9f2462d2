// libFuzzer target for the PE version reader: any bytes at all must give a
// version or nothing, without reading out of bounds, hanging or crashing.

#include "platform/PeVersionReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    const auto version = PeVersionReader::readFixedFileVersion (data, size);

    // Use the result so the read cannot be optimised away.
    volatile std::uint32_t sink = version ? (*version)[0] + (*version)[3] : 0;
    (void) sink;
    return 0;
}
