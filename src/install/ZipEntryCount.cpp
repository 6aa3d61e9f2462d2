#include "install/ZipEntryCount.h"

#include <algorithm>
#include <vector>

namespace
{
    constexpr int tailWindow = 65536;
    constexpr int endRecordSize = 22;
    constexpr juce::uint8 signature[] { 0x50, 0x4b, 0x05, 0x06 };
}

int countZipEntries (const juce::File& archive)
{
    juce::FileInputStream in (archive);

    if (! in.openedOk())
        return -1;

    const auto length = in.getTotalLength();
    const auto start = length > tailWindow ? length - tailWindow : (juce::int64) 0;

    if (! in.setPosition (start))
        return -1;

    std::vector<juce::uint8> window (tailWindow);
    const auto bytesRead = in.read (window.data(), tailWindow);

    // The last offset where a whole record still fits, down to the start.
    for (int offset = bytesRead - endRecordSize; offset >= 0; --offset)
    {
        if (std::equal (std::begin (signature), std::end (signature), window.begin() + offset))
            return window[(size_t) offset + 10] | (window[(size_t) offset + 11] << 8);
    }

    return -1;
}
