#include "platform/HttpTransport.h"

namespace HttpTransport
{
    Result performIntoMemory (const Request& request, juce::MemoryBlock& body, HttpTransferStop* stop)
    {
        body.reset();
        juce::MemoryOutputStream out (body, false);

        auto result = perform (request, [&out] (const void* data, size_t size) { return out.write (data, size); }, stop);
        out.flush();
        return result;
    }

    juce::StringArray joinRepeatedHeaders (const juce::StringArray& headers)
    {
        juce::StringArray names, joined;

        for (const auto& line : headers)
        {
            const auto name = line.upToFirstOccurrenceOf (":", false, false).trim();
            const auto value = line.fromFirstOccurrenceOf (":", false, false).trim();
            const auto index = names.indexOf (name, true);

            if (index < 0)
            {
                names.add (name);
                joined.add (name + ": " + value);
            }
            else
            {
                joined.set (index, joined[index] + ", " + value);
            }
        }

        return joined;
    }

    juce::String rangeHeader (juce::int64 from)
    {
        return "Range: bytes=" + juce::String (from) + "-";
    }

    void rejectShortBody (Result& result)
    {
        if (! result.isComplete() || result.contentLength < 0 || result.bodyBytes >= result.contentLength)
            return;

        result.failure = Failure::brokenOff;
        result.error = "the body broke off after " + juce::String (result.bodyBytes) + " of "
                       + juce::String (result.contentLength) + " bytes";
    }
}
