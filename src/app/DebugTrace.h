#pragma once

#include <juce_core/juce_core.h>

/** Writes "dumpCommandeLineForDebug:" immediately followed by the text to the log. */
void dumpCommandeLineForDebug (const juce::String& text);
