#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A group header: the title in the group colour, then the subtitle. */
class AttrLabel final : public juce::Component
{
public:
    AttrLabel();
    void setTexts (const juce::String& titleText, const juce::String& subtitleText, juce::Colour colour);
    void paint (juce::Graphics&) override;

    juce::AttributedString title, subtitle;
    juce::String titleText, subtitleText;
    int titleWidth = 0;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AttrLabel)
};
