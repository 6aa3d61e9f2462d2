#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A grey plate with an image at half its pixel size in the middle (the
    settings page's reload button). The image fades while the mouse is over. */
class borderImageButton : public juce::ImageButton
{
public:
    borderImageButton() = default;

    /** Where the image goes: its half size, centred on the button. */
    static juce::Rectangle<float> imageArea (juce::Rectangle<int> buttonBounds, const juce::Image& image);

    juce::Image image;
    bool isOver = false;

    void mouseEnter (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (borderImageButton)
};
