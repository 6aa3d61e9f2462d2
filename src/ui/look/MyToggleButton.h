#pragma once

#include "ui/look/PressTracking.h"

/** The application's flat button: either a filled plate with dark text or a
    thin outline with light text. Owners switch the look by setting `filled`
    and `font` (radio-like filters) or with makeFilled, and attach onClick.
    The ImageButton base only supplies the button behaviour; no image is used. */
class MyToggleButton : public PressTracking<juce::ImageButton>
{
public:
    MyToggleButton();
    explicit MyToggleButton (const juce::String& buttonText);

    /** Switches to the filled look with the Regular face. */
    void makeFilled (const juce::String& newText, juce::Colour fill, juce::Colour textColourOnFill);

    /** The component alpha the button paints with: dimmed when disabled,
        slightly faded while pressed. */
    float alphaForState() const;

    juce::String text;
    bool filled = false;
    float cornerSize = 3.5f;
    juce::Colour textColour { 0xffe0e6ea };
    juce::Colour fillColour { 0xffe0e6ea };
    juce::Colour textOnFillColour { 0xff3d4d58 };
    juce::Font font;
    void paint (juce::Graphics&) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MyToggleButton)
};
