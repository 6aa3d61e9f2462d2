#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A dark tab-like button (the products page's category tabs). The owner
    sets `selected` and repaints. */
class MyTextToggleButton : public juce::TextButton
{
public:
    explicit MyTextToggleButton (const juce::String& buttonText);

    juce::Colour plateColour() const;
    juce::Colour textColourForState() const;

    juce::String text;
    bool selected = false;
    bool isOver = false;
    bool isDown = false;

    void mouseEnter (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MyTextToggleButton)
};
