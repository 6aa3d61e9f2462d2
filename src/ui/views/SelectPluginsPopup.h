#pragma once

#include "localstate/ProductRow.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <vector>

/** The settings page's scrolling list of installed products: a tick box and
    a title per row, two rows a line, every row ticked at first. The page
    reads the ticked rows when the user wipes. Message thread only. */
class SelectPluginsPopup : public juce::Component
{
public:
    static constexpr juce::uint32 backgroundColour = 0xff091c2a;
    static constexpr int lineHeight = 27;

    SelectPluginsPopup();
    ~SelectPluginsPopup() override;

    void setRows (std::vector<ProductRow> newRows);

    /** Makes a tick box and a label per row, laid out for the current width. */
    void rebuild();

    /** The rows whose tick box is on, in row order. */
    std::vector<ProductRow> tickedRows() const;

    /** The text beside a row's tick box: an expansion names its parent. */
    static juce::String labelFor (const ProductRow& row);

    /** Where row i's tick box goes in a list of the given width. */
    static juce::Point<int> tickBoxPosition (int index, int listWidth);

    /** The height of the scrolled content for a number of rows. */
    static int contentHeight (int rowCount);

    void paint (juce::Graphics&) override;
    void resized() override;

    juce::Viewport viewport;
    juce::Component content;
    std::vector<std::unique_ptr<juce::ToggleButton>> tickBoxes;
    std::vector<std::unique_ptr<juce::Label>> labels;
    std::vector<ProductRow> rows;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SelectPluginsPopup)
};
