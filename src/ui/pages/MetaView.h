#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class ProductCell;

/** The details panel of a plugin cell: one dot and label per offered format.
    It reads the cell it sits in, so it always shows the cell's current state. */
class MetaView final : public juce::Component
{
public:
    explicit MetaView (const ProductCell& owner);
    void paint (juce::Graphics&) override;

private:
    const ProductCell& cell;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MetaView)
};
