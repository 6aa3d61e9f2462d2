#pragma once

#include "ui/look/BorderImageButton.h"

#include <functional>

/** The strip at the top of every page. It holds the round settings button at
    its right end and draws nothing itself. */
class Header : public juce::Component
{
public:
    /** The dark rounded button with the white gear. */
    class roundImageButton : public borderImageButton
    {
    public:
        void paint (juce::Graphics&) override;
    };

    Header();

    void resized() override;

    roundImageButton button;
    std::function<void (juce::Component*)> onSettings;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Header)
};
