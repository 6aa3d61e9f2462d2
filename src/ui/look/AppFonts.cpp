#include "ui/look/AppFonts.h"

#include "ui/look/AppResources.h"

#include <array>

namespace
{
    juce::Font embeddedFont (const char* fileName)
    {
        const auto bytes = AppResources::find (fileName);

        if (! bytes.isEmpty())
            if (auto typeface = juce::Typeface::createSystemTypefaceFor (bytes.data, (size_t) bytes.size))
                return juce::Font (typeface);

        // Never expected: the faces are compiled in. Text still shows.
        jassertfalse;
        return juce::Font (12.0f);
    }
}

const juce::Font& getAppFont (int style)
{
    // One thread-safe initialisation for all of them.
    static const std::array<juce::Font, 5> fonts {
        embeddedFont ("Inter-Regular.ttf"),
        embeddedFont ("Inter-SemiBold.ttf"),
        embeddedFont ("Inter-Light.ttf"),
        embeddedFont ("Inter-Bold.otf"),
        juce::Font (12.0f)
    };

    return fonts[(style >= AppFontStyle::regular && style <= AppFontStyle::bold) ? (size_t) style : 4];
}

juce::Font appFont (int style, float height)
{
    return getAppFont (style).withHeight (height);
}
