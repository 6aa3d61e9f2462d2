#pragma once

#include "ui/look/PressTracking.h"

/** A dark tab-like button (the products page's category tabs). The owner
    sets `selected` and repaints. */
class MyTextToggleButton : public PressTracking<juce::TextButton>
{
public:
    explicit MyTextToggleButton (const juce::String& buttonText);

    juce::Colour plateColour() const;
    juce::Colour textColourForState() const;

    juce::String text;
    bool selected = false;
    void paint (juce::Graphics&) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MyTextToggleButton)
};
