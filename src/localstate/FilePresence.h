#pragma once

#include <juce_core/juce_core.h>

/** A target file counts as present when it has a path and exists; an empty
    juce::File (no folder for that format) is never present. */
bool isPresent (const juce::File& file);
