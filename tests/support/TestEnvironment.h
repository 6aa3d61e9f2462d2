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

/** Runs the message loop until the condition holds or the time runs out. */
bool pumpUntil (std::function<bool()> condition, int timeoutMs = 5000);
