#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <string>

/** True for a line of unpacking output that stands for one entry: the
    "inflating:", "extracting:" and "creating:" lines of unzip-style tools,
    and the "x <path>" lines bsdtar prints. The line is already trimmed. */
bool countsAsUnpackedEntry (const juce::String& line);

/** Splits the unpacking tool's output into lines and turns them into
    progress: count of entry lines / the archive's entry count (at least 1). */
class UnpackOutputLines
{
public:
    explicit UnpackOutputLines (int entryCount);

    /** Adds raw output. After each complete line, matching or not, calls
        report with the current fraction. Bytes are kept until their line
        ends, so a character split across two reads stays whole. */
    void feed (const void* data, size_t size, const std::function<void (float)>& report);

    int countedEntries() const noexcept { return counted; }

private:
    std::string pending;
    int divisor = 1;
    int counted = 0;
};
