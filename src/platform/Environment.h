#pragma once

#include <juce_core/juce_core.h>

/** Changing this process's environment (tests and tools use it to move the
    sandbox root or the service address). An empty value removes the variable. */
namespace Environment
{
    bool setVariable (const juce::String& name, const juce::String& value);
}
