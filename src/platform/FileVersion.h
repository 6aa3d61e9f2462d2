#pragma once

#include <juce_core/juce_core.h>

/** The four-number version text of a file's version resource, as Windows
    gives it ("1.2.3.4"); empty for folders, non-PE files and files without
    one. */
juce::String readFileVersion (const juce::File& file);
