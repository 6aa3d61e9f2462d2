#pragma once

#include <juce_graphics/juce_graphics.h>

/** The embedded Inter faces, by the number getAppFont takes. The numbers
    are kept as they are: any other number means JUCE's default face. */
namespace AppFontStyle
{
    enum Style : int
    {
        regular = 0,
        semiBold = 1,
        light = 2,
        bold = 3
    };
}

/** The application's typefaces, embedded Inter faces (see AppFontStyle);
    any other style is JUCE's default sans-serif face at 12 points.

    The fonts are made on the first call (from any thread) and live for the
    whole process. Callers copy the font and set the height they need. */
const juce::Font& getAppFont (int style);

/** A copy of an application face at the given height. */
juce::Font appFont (int style, float height);
