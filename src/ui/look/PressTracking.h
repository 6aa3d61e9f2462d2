#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Adds the hover and press state that the app's own buttons draw with.
    `isOver` and `isDown` follow the mouse, and each change repaints. */
template <class ButtonBase>
class PressTracking : public ButtonBase
{
public:
    using ButtonBase::ButtonBase;

    bool isOver = false;
    bool isDown = false;

    void mouseEnter (const juce::MouseEvent& e) override
    {
        isOver = true;
        this->repaint();
        ButtonBase::mouseEnter (e);
    }

    void mouseExit (const juce::MouseEvent& e) override
    {
        isOver = false;
        this->repaint();
        ButtonBase::mouseExit (e);
    }

    void mouseDown (const juce::MouseEvent& e) override
    {
        ButtonBase::mouseDown (e);
        isDown = true;
        this->repaint();
    }

    void mouseUp (const juce::MouseEvent& e) override
    {
        // The click may delete the button (a toast closing, a tab change
        // rebuilding the owner), so nothing is touched once it is gone.
        juce::Component::SafePointer<juce::Component> self (this);
        ButtonBase::mouseUp (e);

        if (self == nullptr)
            return;

        isDown = false;
        this->repaint();
    }
};
