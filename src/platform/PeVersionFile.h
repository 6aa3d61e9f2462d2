#pragma once

#include <juce_core/juce_core.h>

/** The file version of a PE file on disk as Windows writes it: four
    decimal numbers joined by dots ("1.2.3.4"), or an empty text when the file
    cannot be opened or holds no well-formed version resource. Only the
    headers and the resource tree are read, never the whole file. */
juce::String readPeFileVersionText (const juce::File& file);
