#pragma once

#include <juce_core/juce_core.h>

/** How handing a sign-in link to the running main instance went. */
struct LinkHandOverOutcome
{
    enum class Result
    {
        delivered,    // the running instance acknowledged the link
        noInstance,   // nobody serves the pipe
        noAnswer      // an owner exists but did not take the link in time
    };

    Result result = Result::noInstance;
    juce::String detail;   // for the log: why it was not delivered

    bool wasDelivered() const noexcept { return result == Result::delivered; }
};

namespace LinkHandOver
{
    /** Long enough for a busy instance's pipe thread, short enough that a
        browser sign-in never waits noticeably when no instance answers. */
    inline constexpr int defaultTimeoutMs = 1500;
}

/** Sends the link to the instance that serves the pipe and waits for its
    acknowledgement, never longer than timeoutMs in all. Returns at once
    when nobody owns the pipe (also when a crashed owner left its pipe
    behind). Safe to call from any thread; concurrent callers take turns. */
LinkHandOverOutcome handOverLink (const juce::String& pipeName, const juce::String& link,
                                  int timeoutMs = LinkHandOver::defaultTimeoutMs);
