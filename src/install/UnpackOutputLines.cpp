#include "install/UnpackOutputLines.h"

bool countsAsUnpackedEntry (const juce::String& line)
{
    return line.startsWith ("inflating:")
        || line.startsWith ("extracting:")
        || line.startsWith ("creating:")
        || line.startsWith ("x ");
}

UnpackOutputLines::UnpackOutputLines (int entryCount)
    : divisor (entryCount >= 1 ? entryCount : 1)
{
}

void UnpackOutputLines::feed (const void* data, size_t size, const std::function<void (float)>& report)
{
    pending.append (static_cast<const char*> (data), size);

    for (auto end = pending.find ('\n'); end != std::string::npos; end = pending.find ('\n'))
    {
        const auto line = juce::String::fromUTF8 (pending.data(), (int) end).trim();
        pending.erase (0, end + 1);

        if (countsAsUnpackedEntry (line))
            ++counted;

        if (report)
            report ((float) counted / (float) divisor);
    }
}
