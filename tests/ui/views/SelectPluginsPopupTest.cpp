// The settings page's tick list of installed products: two rows a line,
// every row ticked at first, and the rows still ticked read back in order.

#include "support/ComponentTesting.h"
#include "ui/views/SelectPluginsPopup.h"

#include <gtest/gtest.h>

namespace
{
    ProductRow row (const juce::String& title, const juce::String& category = "instrument",
                    const juce::String& parentTitle = {})
    {
        ProductRow r;
        r.title = title;
        r.name = title.removeCharacters (" ").toLowerCase();
        r.category = category;
        r.parentTitle = parentTitle;
        return r;
    }

    juce::StringArray titles (const std::vector<ProductRow>& rows)
    {
        juce::StringArray result;
        for (const auto& r : rows)
            result.add (r.title);
        return result;
    }

    void fill (SelectPluginsPopup& list, std::vector<ProductRow> rows)
    {
        list.setSize (490, 165);
        list.setRows (std::move (rows));
        list.rebuild();
    }
}

TEST (SelectPluginsPopup, RowsGoTwoALineAllTickedWithTheirTitles)
{
    SelectPluginsPopup list;
    fill (list, { row ("Alpha"), row ("Beta"), row ("Gamma", "extension", "Alpha") });

    ASSERT_EQ (list.tickBoxes.size(), 3u);
    ASSERT_EQ (list.labels.size(), 3u);

    const int odd = (490 - 20) / 2;
    const juce::Rectangle<int> expected[] = { { 25, 0, 25, 25 }, { odd, 0, 25, 25 }, { 25, 27, 25, 25 } };

    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ (list.tickBoxes[i]->getBounds(), expected[i]) << i;
        EXPECT_EQ (list.labels[i]->getBounds(), expected[i].withX (expected[i].getX() + 25).withWidth (180)) << i;
        EXPECT_TRUE (list.tickBoxes[i]->getToggleState()) << i;
        EXPECT_EQ (list.tickBoxes[i]->getParentComponent(), &list.content);
    }

    EXPECT_EQ (list.labels[0]->getText(), "Alpha");
    EXPECT_EQ (list.labels[2]->getText(), "Gamma (Alpha)");
    EXPECT_EQ (list.content.getBounds(), juce::Rectangle<int> (0, 0, 470, 67));
    EXPECT_EQ (list.viewport.getViewedComponent(), &list.content);
    EXPECT_EQ (list.viewport.getBounds(), juce::Rectangle<int> (5, 0, 480, 165));
}

TEST (SelectPluginsPopup, AnEmptyListHasNoTickBoxesAndFortyPixelsOfContent)
{
    SelectPluginsPopup list;
    fill (list, { row ("Alpha") });
    fill (list, {});

    EXPECT_TRUE (list.tickBoxes.empty());
    EXPECT_TRUE (list.labels.empty());
    EXPECT_EQ (list.content.getNumChildComponents(), 0) << "filling again deletes the old tick boxes";
    EXPECT_EQ (list.content.getHeight(), 40);
    EXPECT_TRUE (list.tickedRows().empty());
}

TEST (SelectPluginsPopup, TickedRowsFollowTheTickBoxesInRowOrder)
{
    SelectPluginsPopup list;
    fill (list, { row ("Alpha"), row ("Beta"), row ("Gamma"), row ("Delta") });

    EXPECT_EQ (titles (list.tickedRows()), (juce::StringArray { "Alpha", "Beta", "Gamma", "Delta" }));

    clickNow (*list.tickBoxes[0]);
    clickNow (*list.tickBoxes[2]);
    ASSERT_FALSE (list.tickBoxes[0]->getToggleState()) << "a click turns a tick box off";

    EXPECT_EQ (titles (list.tickedRows()), (juce::StringArray { "Beta", "Delta" }));
}

TEST (SelectPluginsPopup, PaintsItsDarkGroundAndScrollsLongLists)
{
    SelectPluginsPopup list;
    std::vector<ProductRow> many;
    for (int i = 0; i < 20; ++i)
        many.push_back (row ("Plugin " + juce::String (i)));
    fill (list, many);

    EXPECT_EQ (list.content.getHeight(), 10 * 27 + 40);
    EXPECT_TRUE (list.viewport.canScrollVertically());

    const auto image = paintToImage (list);
    EXPECT_EQ (image.getPixelAt (2, 160).getARGB(), SelectPluginsPopup::backgroundColour);
    EXPECT_EQ (list.viewport.getVerticalScrollBar().findColour (juce::ScrollBar::thumbColourId), juce::Colour (0xff808080));
}
