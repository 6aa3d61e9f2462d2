#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Sets an environment variable for one scope and puts the old value back. */
class ScopedEnvironmentVariable
{
public:
    ScopedEnvironmentVariable (juce::String variableName, const juce::String& value);
    ~ScopedEnvironmentVariable();

private:
    juce::String name, previous;
};

/** A fresh, empty sandbox folder that is deleted with the object. While it
    lives, VAMRHELPER_ROOT points at it. */
class ScopedSandbox
{
public:
    ScopedSandbox();
    ~ScopedSandbox();

    const juce::File& root() const noexcept { return folder; }

private:
    juce::File folder;
    ScopedEnvironmentVariable variable;
};

/** True when windows can be opened (an X server or a Windows desktop). */
bool displayAvailable();

/** True for the Windows build running under Wine, whose WinINet differs from
    Windows' in ways a few tests cannot work around. */
bool runningUnderWine();

/** Why a test that stops a stalled transfer skips under Wine. On Windows,
    closing a WinINet handle ends a read blocked on it; Wine's WinINet keeps
    the read waiting until bytes arrive, and ignores the receive time-outs
    JUCE sets on its session handle. */
constexpr const char* wineKeepsStalledReads =
    "Wine's WinINet keeps a stalled read waiting when its handle is closed; Windows ends it";

/** Polls the condition on the calling thread, without running the message
    loop, until it holds or the time runs out. The time is a bound against a
    hang, not a measurement. */
bool waitWithoutPumping (std::function<bool()> condition, int timeoutMs = 30000);

/** Runs the message loop until the condition holds or the time runs out. */
bool pumpUntil (std::function<bool()> condition, int timeoutMs = 5000);

/** Runs the message loop until every message posted before the call has
    been handled. */
void runPostedMessages();
