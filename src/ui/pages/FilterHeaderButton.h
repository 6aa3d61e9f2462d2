#pragma once

#include "ui/look/PressTracking.h"

/** A small plate with a group's name; brighter under the mouse, faded while pressed. */
class FilterHeaderButton final : public PressTracking<juce::TextButton>
{
public:
    FilterHeaderButton (const juce::String& text, juce::Colour normal, juce::Colour hover);

    juce::Colour plateColour() const;

    void paint (juce::Graphics&) override;

    juce::String text;
    juce::Colour normalColour, hoverColour, downColour;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FilterHeaderButton)
};
