#pragma once

#include <juce_core/juce_core.h>

/** What a resumed download may do with one HTTP answer, given the bytes
    already on disk. Only a whole file (200) or the exact continuation of
    the bytes on disk (206 starting at their end) may be written; anything
    else would append a second copy of the start or store an error page as
    the archive. */
namespace DownloadAnswerRule
{
    enum class Action
    {
        writeFromStart,    // 200: the whole file; what is on disk goes
        append,            // 206 starting at the size on disk
        alreadyComplete,   // 416 while the file on disk has the full size
        discardFile,       // 416 otherwise: the bytes on disk cannot be continued
        refuse             // any other answer: write nothing
    };

    /** "bytes first-last/total" (a 416 gives an asterisk for the span); -1 for a missing or unknown part. */
    struct ContentRange
    {
        juce::int64 first = -1;
        juce::int64 last = -1;
        juce::int64 total = -1;
    };

    ContentRange parseContentRange (const juce::String& value);

    /** The action for an answer. expectedSize is the catalogue's size, 0 or
        less when unknown; then a 416's own total stands for the full size. */
    Action actionFor (int status, const juce::String& contentRange, juce::int64 onDisk, juce::int64 expectedSize);

    /** The size of the whole file on the server as the answer gives it
        (a 200's length, a 206's or 416's total); -1 when it does not say. */
    juce::int64 fullSizeFrom (int status, const juce::String& contentRange, juce::int64 contentLength);
}
