#pragma once

#include <juce_graphics/juce_graphics.h>

/** The application's typefaces, embedded Inter faces:
    0 Regular, 1 SemiBold, 2 Light, 3 Bold; any other style is JUCE's default
    sans-serif face at 12 points.

    The fonts are made on the first call (from any thread) and live for the
    whole process. Callers copy the font and set the height they need. */
const juce::Font& getAppFont (int style);
