#pragma once

#include "ui/pages/TableContentDelegate.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The scrolled surface that holds the group headers and the cells. */
class TableContent final : public juce::Component
{
public:
    TableContent() = default;

    void mouseDown (const juce::MouseEvent&) override;

    TableContentDelegate* delegate = nullptr;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (TableContent)
};
