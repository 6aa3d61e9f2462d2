// Cells drawn from rows over real plugin files in a sandbox.

#include "ProductPageTesting.h"
#include "ui/pages/ProductCell.h"

#include "localstate/RowRules.h"
#include "support/ComponentTesting.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    class ProductCells : public ::testing::Test
    {
    protected:
        ScopedSandbox sandbox;
        FormatSettings settings = defaultFormatSettings();
        TestCellDelegate delegate;
        ProductsPage page { &delegate };

        ProductsPage::Cell& placedCell (const ProductRow& row)
        {
            showRows (page, { row });
            page.selectTab (row.isExpansion() ? 1 : 0);
            auto& cell = *page.cells.front();
            EXPECT_TRUE (cell.isVisible());
            return cell;
        }

        // Screen pixels: the cell draws everything 3 pixels lower.
        static juce::Colour at (const juce::Image& image, int x, int y) { return image.getPixelAt (x, y); }
    };

    // Text is drawn in dark colours on the light plate: count the clearly darker pixels.
    int darkTextPixels (const juce::Image& image, juce::Rectangle<int> area, juce::Colour plate)
    {
        return countPixels (image, area, [plate] (juce::Colour c) { return c.getBrightness() < plate.getBrightness() - 0.25f; });
    }
}

TEST_F (ProductCells, PlateAndBarColoursByState)
{
    auto installedProduct = makeProduct ("Fjell Test", "effect", "1.4.2", { "vst", "vst3", "res" });
    installFormat (installedProduct, PluginFormats::vst2, { 1, 4, 2, 0 }, settings);
    installFormat (installedProduct, PluginFormats::vst3, { 1, 4, 2, 0 }, settings);

    auto outdated = makeProduct ("Old Synth", "instrument", "2.0.0", { "vst3" });
    installFormat (outdated, PluginFormats::vst3, { 1, 9, 0, 0 }, settings);

    const auto missing = makeProduct ("Missing Synth", "instrument", "1.0.0", { "vst3" });
    const auto expansion = makeProduct ("Glass Pack", "extension", "1.0.0", { "res" });

    struct Case { ProductRow row; int code; juce::uint32 plate, bar; };
    const std::vector<Case> cases {
        { rowFor (installedProduct, settings), 3, 0xffecf2ed, 0xff30c040 },
        { rowFor (outdated, settings), 2, 0xfffcfbeb, 0xffd0d020 },
        { rowFor (missing, settings), 1, 0xffced3d6, 0xff707070 },
        { rowFor (expansion, settings), 1, 0xfffff8f0, 0xff707070 },
    };

    for (const auto& c : cases)
    {
        auto& cell = placedCell (c.row);
        EXPECT_EQ (cell.status, c.code) << c.row.title;
        const auto image = paintToImage (cell);

        EXPECT_TRUE (coloursClose (at (image, 300, 80), juce::Colour (c.plate))) << c.row.title << " " << at (image, 300, 80).toDisplayString (true);
        EXPECT_TRUE (coloursClose (at (image, 250, 103 - 14 + 3 + 1), juce::Colour (c.bar))) << c.row.title;
        EXPECT_TRUE (coloursClose (at (image, 188, 4), juce::Colour (0xff091c2a))) << "border";

        // The arrow sits at the top right of plugins only (right of any state text).
        const auto notPlate = [&] (juce::Colour px) { return ! coloursClose (px, juce::Colour (c.plate), 12); };
        if (c.row.category == "extension")
        {
            EXPECT_EQ (countPixels (image, { 367, 11, 4, 12 }, notPlate), 0) << c.row.title;
        }
        else
        {
            EXPECT_GT (countPixels (image, { 358, 11, 12, 12 }, notPlate), 0) << c.row.title;
        }
    }

    // Texts: the installed version right-aligned in the state area of a plugin.
    auto& installedCell = placedCell (cases[0].row);
    EXPECT_EQ (installedVersionText (installedCell.row, false), "v1.4.2");
    const auto plain = paintToImage (installedCell);
    const juce::Colour plate (0xffecf2ed);
    EXPECT_GT (darkTextPixels (plain, { 290, 11, 65, 14 }, plate), 20) << "right-justified, clear of the short title";
    EXPECT_GT (darkTextPixels (plain, { 178, 15, 180, 22 }, plate), 30) << "title";
    EXPECT_GT (darkTextPixels (plain, { 178, 37, 180, 14 }, plate), 10) << "subtitle";
}

TEST_F (ProductCells, DetailsZoneOpensAndClosesAfterFiveSeconds)
{
    auto product = makeProduct ("Fjell Test", "effect", "1.4.2", { "vst", "vst3", "res" });
    installFormat (product, PluginFormats::vst3, { 1, 4, 2, 0 }, settings);
    auto& cell = placedCell (rowFor (product, settings));
    ASSERT_EQ (cell.status, 1) << "VST2 is offered and missing";

    // Only VST and VST3 are listed; resources never get a dot.
    ASSERT_EQ (cell.metaTargets.size(), 3u);

    EXPECT_TRUE (cell.isInDetailsZone ({ 377 - 100, 0 }));
    EXPECT_TRUE (cell.isInDetailsZone ({ 376, 29 }));
    EXPECT_FALSE (cell.isInDetailsZone ({ 377 - 101, 10 }));
    EXPECT_FALSE (cell.isInDetailsZone ({ 300, 30 }));

    using Close = ProductsPage::Cell::DetailsClose;
    std::vector<Close> closes;
    cell.onDelayedDetailsClose = [&closes] (Close outcome) { closes.push_back (outcome); };

    const auto closedImage = paintToImage (cell);
    cell.mouseDown (mouseEventAt (cell, { 360, 10 }));
    ASSERT_TRUE (cell.detailsShown);
    EXPECT_TRUE (cell.metaView.isVisible());
    EXPECT_FALSE (cell.selected) << "the details zone does not select";

    // Dots: VST missing (yellow), VST3 present (green).
    const auto meta = paintToImage (cell.metaView);
    EXPECT_TRUE (coloursClose (meta.getPixelAt (48, 5), juce::Colour (0xffddbf1f), 30)) << meta.getPixelAt (48, 5).toDisplayString (true);
    EXPECT_TRUE (coloursClose (meta.getPixelAt (48, 17), juce::Colour (0xff66a660), 30)) << meta.getPixelAt (48, 17).toDisplayString (true);

    // A busy cell has no details zone.
    cell.busy = true;
    EXPECT_FALSE (cell.isInDetailsZone ({ 360, 10 }));
    cell.busy = false;

    // Close and reopen 2.5 s later: the first timer finds another count.
    pumpUntil ([] { return false; }, 2500);
    cell.toggleDetails();
    EXPECT_FALSE (cell.detailsShown);
    cell.toggleDetails();
    EXPECT_TRUE (cell.detailsShown);
    EXPECT_EQ (cell.detailsCount, 2);

    pumpUntil ([] { return false; }, 2800);
    EXPECT_TRUE (cell.detailsShown) << "the first opening's close must not close the second";

    EXPECT_TRUE (pumpUntil ([&] { return ! cell.detailsShown; }, 3500));
    EXPECT_FALSE (cell.metaView.isVisible());
    EXPECT_EQ (closes, (std::vector<Close> { Close::reopenedSince, Close::closed }));
    EXPECT_EQ (paintToImage (cell).getPixelAt (200, 40), closedImage.getPixelAt (200, 40));
}

TEST_F (ProductCells, DetailsCloseAfterTheCellIsGone)
{
    using Close = ProductsPage::Cell::DetailsClose;
    std::vector<Close> closes;

    auto& cell = placedCell (rowFor (makeProduct ("Gone", "effect", "1.0.0", { "vst3" }), settings));
    cell.onDelayedDetailsClose = [&closes] (Close outcome) { closes.push_back (outcome); };
    cell.toggleDetails();
    ASSERT_TRUE (cell.detailsShown);
    page.clearList();

    // The close still runs, and finds no cell to touch.
    EXPECT_TRUE (pumpUntil ([&] { return ! closes.empty(); }, ProductsPage::Cell::detailsCloseDelayMs + 2000));
    EXPECT_EQ (closes, std::vector<Close> { Close::cellGone });
}

TEST_F (ProductCells, ProgressBarWhileDownloading)
{
    using ProductListRules::InstallPhase;
    EXPECT_EQ (ProductListRules::progressBarWidth (377, InstallPhase::downloading, 0.5f), 174);
    EXPECT_EQ (ProductListRules::progressBarWidth (377, InstallPhase::downloading, 0.0f), 11);
    EXPECT_EQ (ProductListRules::progressBarWidth (377, InstallPhase::installing, 1.0f), 373);
    EXPECT_EQ (ProductListRules::progressBarWidth (377, InstallPhase::waiting, 0.7f), 0);

    auto& cell = placedCell (rowFor (makeProduct ("Busy", "instrument", "1.0.0", { "vst3" }), settings));
    cell.busy = true;
    page.rebuildList();
    ASSERT_EQ (cell.status, 20);

    // A running install gets its own group at the top.
    auto* installing = page.table.headerFor (20);
    ASSERT_NE (installing, nullptr);
    EXPECT_EQ (installing->getY(), 16);
    EXPECT_EQ (installing->titleText, "Installing");
    EXPECT_EQ (installing->subtitleText, "(1) Keep this app open until completed");
    EXPECT_EQ (page.table.headerFor (1), nullptr);

    cell.phase = InstallPhase::waiting;
    const auto waiting = paintToImage (cell);
    cell.stripeOffset = 0;
    cell.phase = InstallPhase::downloading;
    cell.progress = 0.5f;
    const auto downloading = paintToImage (cell);

    // The stripes cover x 2 ... 175 of the bar, and nothing right of it.
    const int barY = 103 - 14 + 3 + 1;
    int rightmost = -1;
    for (int x = 0; x < 377; ++x)
        if (waiting.getPixelAt (x, barY) != downloading.getPixelAt (x, barY))
            rightmost = x;

    EXPECT_GE (rightmost, 160);
    EXPECT_LE (rightmost, 175);
    EXPECT_TRUE (coloursClose (downloading.getPixelAt (250, barY), juce::Colour (0xff437297)));

    // No picture panel and no arrow while busy: the busy plate shows there.
    EXPECT_TRUE (coloursClose (downloading.getPixelAt (60, 20), juce::Colour (0xff437297)));

    // The stripes move 2 pixels left per paint, wrapping at the tile width.
    cell.stripeOffset = 1;
    paintToImage (cell);
    EXPECT_EQ (cell.stripeOffset, 25);
}

TEST_F (ProductCells, PictureSelectionFrameAndRibbon)
{
    auto row = rowFor (makeProduct ("Plain Strings", "instrument", "1.0.0", { "vst3" }), settings);
    row.has_manual = true;
    row.uiImage = juce::Image (juce::Image::ARGB, 160, 40, true);
    juce::Graphics (row.uiImage).fillAll (juce::Colour (0xffff0000));

    auto& cell = placedCell (row);
    EXPECT_TRUE (cell.manualButton.isVisible());
    EXPECT_EQ (cell.manualButton.getBounds(), juce::Rectangle<int> (140, 58, 88, 24));

    // The picture fits 80 x 20, centred in the 128-pixel panel.
    const auto image = paintToImage (cell);
    const auto red = [] (juce::Colour c) { return c.getRed() > 200 && c.getGreen() < 60 && c.getBlue() < 60; };
    EXPECT_GT (countPixels (image, { 26, 40, 78, 18 }, red), 78 * 16);
    EXPECT_EQ (countPixels (image, { 0, 0, 22, 103 }, red), 0);
    EXPECT_EQ (countPixels (image, { 106, 0, 22, 103 }, red), 0);
    EXPECT_EQ (countPixels (image, { 0, 0, 128, 38 }, red), 0);

    // Selected: white plate and the frame over the edge.
    cell.mouseDown (mouseEventAt (cell, { 250, 60 }));
    ASSERT_TRUE (cell.selected);
    const auto selectedImage = paintToImage (cell);
    EXPECT_TRUE (coloursClose (selectedImage.getPixelAt (300, 80), juce::Colour (0xffffffff), 6));
    EXPECT_NE (countPixels (selectedImage, { 0, 0, 377, 4 }, [] (juce::Colour) { return true; }), 0);
    int changedEdge = 0;
    for (int y = 10; y < 90; ++y)
        changedEdge += selectedImage.getPixelAt (1, y) != image.getPixelAt (1, y) ? 1 : 0;
    EXPECT_GT (changedEdge, 40) << "selection frame";

    // Custom builds: the ribbon over the corner, and no manual button.
    auto custom = row;
    custom.isPublic = false;
    auto& customCell = placedCell (custom);
    EXPECT_FALSE (customCell.manualButton.isVisible());
    const auto ribbonImage = paintToImage (customCell);
    const auto plainImage = paintToImage (placedCell (row));
    int ribbonPixels = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            ribbonPixels += ribbonImage.getPixelAt (x, y) != plainImage.getPixelAt (x, y) ? 1 : 0;
    EXPECT_GT (ribbonPixels, 200);
    EXPECT_EQ (ribbonImage.getPixelAt (300, 80), plainImage.getPixelAt (300, 80));
}

TEST_F (ProductCells, FilterButtonScrollsToAFarGroup)
{
    std::vector<ProductRow> rows;
    for (int i = 0; i < 30; ++i)
        rows.push_back (rowFor (makeProduct ("Missing " + juce::String (i), "instrument", "1.0.0", { "vst3" }), settings));

    // Enough installed ones below for the view to reach the group's header.
    for (int i = 0; i < 10; ++i)
    {
        auto current = makeProduct ("Current " + juce::String (i), "instrument", "1.0.0", { "vst3" });
        installFormat (current, PluginFormats::vst3, { 1, 0, 0, 0 }, settings);
        rows.push_back (rowFor (current, settings));
    }

    showRows (page, rows);
    auto* installed = page.table.headerFor (3);
    ASSERT_NE (installed, nullptr);
    EXPECT_EQ (installed->getY(), 16 + 37 + 14 * 113 + 136);

    EXPECT_FALSE (page.filterHeader.updatesButton.isVisible());
    EXPECT_EQ (page.filterHeader.installedButton.getX(), 786 - 94);
    EXPECT_EQ (page.filterHeader.notInstalledButton.getX(), 786 - 94 - 87);

    page.filterHeader.installedButton.triggerClick();
    EXPECT_TRUE (pumpUntil ([&] { return page.table.getViewPositionY() == installed->getY() - 20; }, 2000))
        << page.table.getViewPositionY();

    // Keys are always consumed.
    EXPECT_TRUE (page.keyPressed (juce::KeyPress ('a')));
    page.releaseNotesView = std::make_unique<juce::Component>();
    page.addAndMakeVisible (*page.releaseNotesView);
    EXPECT_TRUE (page.keyPressed (juce::KeyPress (juce::KeyPress::escapeKey)));
    EXPECT_EQ (page.releaseNotesView, nullptr);
}

TEST_F (ProductCells, OnlyUpdatesGroup)
{
    std::vector<ProductRow> rows;
    for (auto title : { "Upd One", "Upd Two" })
    {
        auto p = makeProduct (title, "effect", "2.0.0", { "vst3" });
        installFormat (p, PluginFormats::vst3, { 1, 0, 0, 0 }, settings);
        rows.push_back (rowFor (p, settings));
    }

    showRows (page, rows);
    auto* updates = page.table.headerFor (2);
    ASSERT_NE (updates, nullptr);
    EXPECT_EQ (updates->subtitleText, "(2) Installed plugins with an available update");
    EXPECT_EQ (page.table.headerFor (1), nullptr);
    EXPECT_EQ (page.table.headerFor (3), nullptr);

    auto& header = page.filterHeader;
    EXPECT_FALSE (header.notInstalledButton.isVisible());
    EXPECT_FALSE (header.installedButton.isVisible());
    EXPECT_EQ (header.updatesButton.getBounds(), juce::Rectangle<int> (786 - 94, 16, 80, 14));
    EXPECT_FLOAT_EQ (header.lineEnd, (float) (786 - 94 - 7));

    const auto image = paintToImage (header);
    const auto line = image.getPixelAt (300, 23);
    EXPECT_GT (line.getAlpha(), 100);
    EXPECT_TRUE (coloursClose (line.withAlpha ((juce::uint8) 255), juce::Colour (0xffaab3ba), 4)) << line.toDisplayString (true);
    EXPECT_EQ (image.getPixelAt (110, 23).getAlpha(), 0) << "the line starts right of the title";
    EXPECT_EQ (image.getPixelAt (690, 23).getAlpha(), 0);

    EXPECT_FALSE (page.notInstalledToggle.isEnabled());
    EXPECT_TRUE (page.notUpdatedToggle.isEnabled());
}

TEST_F (ProductCells, StaffSeeBothVersionsOfAnUpdate)
{
    auto p = makeProduct ("Upd Staff", "effect", "2.0.0", { "vst3" }, "beta");
    installFormat (p, PluginFormats::vst3, { 1, 5, 0, 0 }, settings);
    auto row = rowFor (p, settings);
    auto& cell = placedCell (row);
    ASSERT_EQ (cell.status, 2);
    EXPECT_FALSE (page.staffAccount);
    const auto customerView = paintToImage (cell);

    delegate.email = "someone@VAMRELUND.com";
    auto& staffCell = placedCell (row);
    EXPECT_TRUE (page.staffAccount);
    const auto staffView = paintToImage (staffCell);

    int changed = 0;
    for (int y = 11; y < 25; ++y)
        for (int x = 181; x < 356; ++x)
            changed += staffView.getPixelAt (x, y) != customerView.getPixelAt (x, y) ? 1 : 0;
    EXPECT_GT (changed, 20) << "state line drawn differently for staff";

    // With the details open, staff read the build group under the title.
    const auto subtitleArea = juce::Rectangle<int> (178, 37, 180, 14);
    staffCell.toggleDetails();
    const auto withDetails = paintToImage (staffCell);
    int subtitleChanged = 0;
    for (int y = subtitleArea.getY(); y < subtitleArea.getBottom(); ++y)
        for (int x = subtitleArea.getX(); x < subtitleArea.getRight(); ++x)
            subtitleChanged += withDetails.getPixelAt (x, y) != staffView.getPixelAt (x, y) ? 1 : 0;
    EXPECT_GT (subtitleChanged, 10);
}
