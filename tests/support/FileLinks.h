#pragma once

#include <juce_core/juce_core.h>

/** Makes a symbolic link at `link` to `target` (a folder link when the target
    is a folder). JUCE makes links only with MSVC on Windows, so tests make
    their own. False where the system lets the test make none (Windows
    without the right to create links). */
bool makeLink (const juce::File& link, const juce::File& target);
