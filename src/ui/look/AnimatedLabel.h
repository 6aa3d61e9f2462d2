#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** "Installing 2 products..." with dots that grow on every tick. The owner
    sets activeCount and starts or stops the timer. */
class AnimatedLabel : public juce::Label,
                      public juce::Timer
{
public:
    AnimatedLabel() = default;

    /** The text for a number of running installs and a number of dots. */
    static juce::String activityText (int activeCount, int dots);

    int activeCount = 0;
    int dots = 0;

    /** One animation step: the next number of dots, then the new text. */
    void timerCallback() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AnimatedLabel)
};
