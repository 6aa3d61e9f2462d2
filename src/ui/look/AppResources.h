#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The fonts and images compiled into the application, found by the file
    names they had in resources/ ("settings_icon.png", "Inter-Light.ttf"). */
namespace AppResources
{
    struct Bytes
    {
        const void* data = nullptr;
        int size = 0;

        bool isEmpty() const noexcept { return data == nullptr || size <= 0; }
    };

    /** The embedded bytes of one file; empty for a name that is not embedded. */
    Bytes find (const juce::String& fileName);

    /** One embedded image, decoded once and then served from JUCE's image
        cache. A missing or undecodable image is a null image. */
    juce::Image image (const juce::String& fileName);

    /** True for images drawn at half their pixel size ("@2x" or "@x2"). */
    bool isHalfSize (const juce::String& fileName);
}
