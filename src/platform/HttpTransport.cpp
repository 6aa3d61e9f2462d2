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
