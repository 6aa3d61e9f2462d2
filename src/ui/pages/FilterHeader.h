#pragma once

#include "ui/pages/FilterHeaderButton.h"
#include "ui/pages/FilterHeaderDelegate.h"
#include "ui/pages/ProductListRules.h"

#include <array>
#include <utility>

/** The strip above the list: the tab's title, a rule, and one button per
    shown plugin group that jumps to it. */
class FilterHeader final : public juce::Component
{
public:
    FilterHeader();

    /** 0 plugins, 1 expansions. */
    void setMode (int newMode);
    void paint (juce::Graphics&) override;
    void resized() override;

    juce::Label title;
    int mode = 0;
    float lineEnd = 0.0f;
    FilterHeaderButton notInstalledButton { "NOT INSTALLED", juce::Colour (0xff97a1a8), juce::Colour (0xffb1c2cd) };
    FilterHeaderButton updatesButton { "UPDATES", juce::Colour (0xfffbd53d), juce::Colour (0xffffe16a) };
    FilterHeaderButton installedButton { "INSTALLED", juce::Colour (0xff4bbf49), juce::Colour (0xff75e174) };
    FilterHeaderDelegate* delegate = nullptr;

    /** The buttons with their group ids, in order. */
    std::array<std::pair<FilterHeaderButton*, int>, 3> buttons()
    {
        return { { { &notInstalledButton, ProductListRules::notInstalled },
                   { &updatesButton, ProductListRules::updateAvailable },
                   { &installedButton, ProductListRules::installed } } };
    }

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FilterHeader)
};
