// The release-notes panel: its heading syntax and placement as plain
// arithmetic, then on a products page built from rows in a sandbox:
// opening by right click, a picture of the open panel, and every way it closes.

#include "../pages/ProductPageTesting.h"

#include "support/ComponentTesting.h"
#include "support/TestEnvironment.h"
#include "ui/look/AppFonts.h"
#include "ui/views/ReleaseNotesComponent.h"
#include "ui/views/ReleaseNotesLayout.h"

#include <gtest/gtest.h>

TEST (ReleaseNotesLayout, HashesMakeHeadingsOfThreeSizesToTheEndOfTheirLine)
{
    const struct
    {
        const char* what;
        const char* notes;
        std::vector<ReleaseNotesLayout::Run> runs;
    } cases[] = {
        { "three lines, a heading of two hashes, two plain lines",
          "One\nTwo\nThree\n## New\nFour\nFive\n",
          { { " \nOne\nTwo\nThree\n", 13.0f }, { " New", 19.0f }, { "\nFour\nFive\n", 13.0f } } },
        { "no hash: one block after the blank first line",
          "Smoother decay tails.\nLess CPU.",
          { { " \nSmoother decay tails.\nLess CPU.", 13.0f } } },
        { "four hashes are no heading",
          "#### Word\nnext",
          { { " \n Word\nnext", 13.0f } } },
        { "one, two and three hashes",
          "# A\n## B\n### C\nbody",
          { { " \n", 13.0f }, { " A", 22.0f }, { "\n", 13.0f }, { " B", 19.0f }, { "\n", 13.0f }, { " C", 16.0f }, { "\nbody", 13.0f } } },
        { "a hash in the middle of a line starts a heading there",
          "Fixed #12 crash\nnext",
          { { " \nFixed ", 13.0f }, { "12 crash", 22.0f }, { "\nnext", 13.0f } } },
        { "a heading on the last line, without a line feed",
          "text\n### Last",
          { { " \ntext\n", 13.0f }, { " Last", 16.0f } } },
        { "empty notes", "", { { " \n", 13.0f } } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const auto runs = ReleaseNotesLayout::runsFor (c.notes);
        ASSERT_EQ (runs.size(), c.runs.size());

        for (size_t i = 0; i < runs.size(); ++i)
        {
            EXPECT_EQ (runs[i].text, juce::String (c.runs[i].text)) << i;
            EXPECT_EQ (runs[i].height, c.runs[i].height) << i;
        }
    }
}

TEST (ReleaseNotesLayout, ThePanelCentresOnTheClickInsideTheMarginsOfThePage)
{
    const struct
    {
        const char* what;
        juce::Point<int> clickInList;
        int scrollY;
        juce::Point<int> pageSize;
        juce::Point<int> position;
    } cases[] = {
        { "in the middle",                         { 400, 300 }, 0,   { 820, 600 }, { 250, 126 } },
        { "near the right edge",                   { 800, 300 }, 0,   { 820, 600 }, { 505, 126 } },
        { "near the left edge",                    { 20, 300 },  0,   { 820, 600 }, { 15, 126 } },
        { "near the top of the list",              { 400, 10 },  0,   { 820, 600 }, { 250, 65 } },
        { "near the bottom of the page",           { 400, 590 }, 0,   { 820, 600 }, { 250, 187 } },
        { "the list scrolled down",                { 400, 700 }, 450, { 820, 600 }, { 250, 76 } },
        { "a page too small: the far margins win", { 400, 300 }, 0,   { 310, 440 }, { -5, 27 } },
    };

    for (const auto& c : cases)
        EXPECT_EQ (ReleaseNotesLayout::panelBounds (c.clickInList, c.scrollY, c.pageSize.x, c.pageSize.y),
                   juce::Rectangle<int> (c.position.x, c.position.y, 300, 348)) << c.what;
}

namespace
{
    class ReleaseNotesOnThePage : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            std::vector<ProductRow> rows;

            for (int i = 0; i < 10; ++i)
            {
                auto product = makeProduct ("Synth " + juce::String (i), "plugin", "1.0.0", { "vst3" });
                product.release_notes = i == 9 ? juce::String() : "# Synth " + juce::String (i) + "\nNotes.\n";
                rows.push_back (rowFor (product, settings));
            }

            showRows (page, rows);
            ASSERT_TRUE (page.cells.front()->isVisible());
        }

        /** Right-clicks a cell at a point inside it. */
        void rightClick (ProductsPage::Cell& cell, juce::Point<int> at)
        {
            cell.mouseDown (mouseEventAt (cell, at, juce::ModifierKeys (juce::ModifierKeys::rightButtonModifier)));
        }

        ProductsPage::Cell& cellAt (int index) { return *page.cells[(size_t) index]; }

        /** The page's open panel, or nullptr. */
        ReleaseNotesComponent* openPanel() { return dynamic_cast<ReleaseNotesComponent*> (page.releaseNotesView.get()); }

        /** The panels among the page's children. */
        int panelsOnPage()
        {
            int count = 0;

            for (auto* child : page.getChildren())
                count += dynamic_cast<ReleaseNotesComponent*> (child) != nullptr ? 1 : 0;

            return count;
        }

        ScopedSandbox sandbox;
        FormatSettings settings = defaultFormatSettings();
        TestCellDelegate delegate;
        ProductsPage page { &delegate };
    };
}

TEST_F (ReleaseNotesOnThePage, ARightClickOpensOnePanelNearTheClickAndEmptyNotesOpenNothing)
{
    // The rightmost cell of the first row, and the leftmost of a lower row.
    auto* right = page.cells.front().get();
    auto* lower = page.cells.front().get();

    for (auto& cell : page.cells)
    {
        if (cell->row.release_notes.isEmpty())
            continue;

        if (cell->getY() == right->getY() && cell->getX() > right->getX())
            right = cell.get();

        if (cell->getX() == lower->getX() && cell->getY() > lower->getY() && cell->getY() < 300)
            lower = cell.get();
    }

    ASSERT_NE (right, lower);
    ASSERT_GT (right->getX() + 370 - 150, page.getWidth() - 315) << "the click is near enough the edge";
    ASSERT_LT (right->getY() + 5 - 174, 65) << "the click is near enough the top";

    rightClick (*right, { 370, 5 });
    auto* first = openPanel();
    ASSERT_NE (first, nullptr);
    EXPECT_EQ (first->getBounds(), juce::Rectangle<int> (page.getWidth() - 315, 65, 300, 348));
    EXPECT_TRUE (first->isVisible());
    EXPECT_FALSE (right->selected) << "a right click selects nothing";

    // Notes that are empty leave the open panel as it is.
    rightClick (*cellNamed (page, "synth9"), { 100, 50 });
    EXPECT_EQ (openPanel(), first);

    // Another cell's notes replace the panel, centred on the click in the list.
    page.table.setViewPosition (0, 40);
    rightClick (*lower, { 200, 60 });
    auto* second = openPanel();
    ASSERT_NE (second, nullptr);
    EXPECT_EQ (panelsOnPage(), 1);
    EXPECT_EQ (second->getBounds().getCentre(), lower->getPosition() + juce::Point<int> (200, 60 - 40));

    ASSERT_TRUE (pumpUntil ([second] { return second->isLaidOut(); }));
    EXPECT_EQ (second->editor.getText(), " \n " + lower->row.title + "\nNotes.\n");
}

TEST_F (ReleaseNotesOnThePage, AKeyPressAClickIntoTheListAClickOnACellOrANewListClosesIt)
{
    const struct
    {
        const char* what;
        std::function<void (ProductsPage&)> close;
    } cases[] = {
        { "a key press on the page",  [] (ProductsPage& p) { p.keyPressed (juce::KeyPress ('x')); } },
        { "a click into the list",    [] (ProductsPage& p) { p.table.content.mouseDown (mouseEventAt (p.table.content, { 2, 2 })); } },
        { "a left click on a cell",   [] (ProductsPage& p) { auto& c = *p.cells[1]; c.mouseDown (mouseEventAt (c, { 250, 60 })); } },
        { "a new list",               [this] (ProductsPage& p) { showRows (p, { rowFor (makeProduct ("Lumo", "plugin", "3.0.0", { "vst3" }), settings) }); } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        rightClick (cellAt (0), { 100, 50 });
        ASSERT_NE (openPanel(), nullptr);
        ASSERT_EQ (panelsOnPage(), 1);

        // Closed at once, before its posted layout has run.
        c.close (page);
        EXPECT_EQ (page.releaseNotesView, nullptr);
        EXPECT_EQ (panelsOnPage(), 0);
        pumpUntil ([] { return false; }, 50);
    }
}

TEST_F (ReleaseNotesOnThePage, TheOpenPanelShowsItsTitleAndHeadingsAtThreeSizesAboveTheText)
{
    auto& cell = cellAt (0);
    cell.row.release_notes = "# HHHH\n## HHHH\n### HHHH\nHHHH\n";
    rightClick (cell, { 100, 50 });
    ASSERT_NE (openPanel(), nullptr);
    auto& panel = *openPanel();
    ASSERT_TRUE (pumpUntil ([&panel] { return panel.isLaidOut(); }));

    saveScreenshot (paintOnBackground (page, juce::Colours::white), "release-notes");
    const auto screenshot = paintToImage (page).getClippedImage (panel.getBounds());
    const auto background = panel.backgroundColour;
    const auto ink = [background] (juce::Colour c) { return c.getBrightness() > background.getBrightness() + 0.2f; };

    // A rounded dark plate over the page.
    EXPECT_TRUE (coloursClose (screenshot.getPixelAt (150, 340), background));
    EXPECT_TRUE (coloursClose (screenshot.getPixelAt (5, 200), background));
    EXPECT_FALSE (coloursClose (screenshot.getPixelAt (0, 0), background)) << "rounded corner";

    // "Release notes" in its own line above the notes.
    EXPECT_GT (countPixels (screenshot, { 12, 8, 276, 20 }, ink), 100);

    // The notes' lines of ink, top to bottom, with their heights.
    std::vector<int> bands;
    bool inBand = false;

    for (int y = 38; y < 338; ++y)
    {
        const auto lit = countPixels (screenshot, { 10, y, 270, 1 }, ink) > 0;

        if (lit && ! inBand)
            bands.push_back (0);

        if (lit)
            ++bands.back();

        inBand = lit;
    }

    // Capital H stands as tall as the font's cap height at each size.
    const auto capHeight = [] (float fontHeight)
    {
        juce::GlyphArrangement glyphs;
        glyphs.addLineOfText (appFont (AppFontStyle::regular, fontHeight), "H", 0.0f, 0.0f);
        juce::Path outline;
        glyphs.createPath (outline);
        return outline.getBounds().getHeight();
    };

    const float sizes[] { 22.0f, 19.0f, 16.0f, 13.0f };
    ASSERT_EQ (bands.size(), 4u);

    for (size_t i = 0; i < bands.size(); ++i)
    {
        EXPECT_NEAR ((float) bands[i], capHeight (sizes[i]), 1.5f) << "line " << i << " at " << sizes[i];

        if (i > 0)
            EXPECT_LT (bands[i], bands[i - 1]) << "line " << i;
    }
}
