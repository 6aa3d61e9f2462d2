#pragma once

#include <juce_core/juce_core.h>

/** Where a local pipe of a given name lives, in the form juce::NamedPipe takes.

    On Windows that is the name itself: JUCE places it under \\.\pipe\.
    On Linux the pipe is a pair of FIFOs, which JUCE would put straight into
    /tmp where any user could plant them first and read what goes through;
    they go into a folder that only this user can enter instead.
*/
namespace LocalPipe
{
    /** Empty when this system offers no safe place for it. */
    juce::String address (const juce::String& name);
}
