#pragma once

#include <juce_core/juce_core.h>

/** The diagnostic log lines written while the object lives, without their
    time stamps. */
class LogCapture
{
public:
    LogCapture();

    /** The messages of the lines added since construction, in order. */
    juce::StringArray messages() const;

    /** True when a line with exactly this message was added. */
    bool contains (const juce::String& message) const;

    /** How many added lines carry exactly this message. */
    int count (const juce::String& message) const;

private:
    juce::int64 start = 0;
};
