#include "support/LogCapture.h"

#include "log/DiagnosticLog.h"

LogCapture::LogCapture()
{
    generalLogWriter().ensureCreated();
    start = generalLogWriter().getFile().getSize();
}

juce::StringArray LogCapture::messages() const
{
    juce::MemoryBlock data;
    generalLogWriter().getFile().loadFileAsData (data);

    // A trim in between rewrites the file; then everything left counts.
    const auto from = (size_t) start <= data.getSize() ? (size_t) start : 0;
    const auto* begin = static_cast<const char*> (data.getData());
    const juce::String text = begin == nullptr ? juce::String()
                                               : juce::String (juce::CharPointer_UTF8 (begin + from),
                                                               juce::CharPointer_UTF8 (begin + data.getSize()));

    juce::StringArray result;

    for (auto& line : juce::StringArray::fromLines (text))
        if (line.isNotEmpty())
            result.add (line.fromFirstOccurrenceOf (" ", false, false));

    return result;
}

bool LogCapture::contains (const juce::String& message) const
{
    return messages().contains (message);
}

int LogCapture::count (const juce::String& message) const
{
    int n = 0;

    for (auto& line : messages())
        if (line == message)
            ++n;

    return n;
}
