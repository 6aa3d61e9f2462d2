// The products page built from the demo catalogue, with some demo plugins
// installed in the sandbox (two current, two outdated, one half installed).

#include "ProductPageTesting.h"

#include "cloud/ProductList.h"
#include "cloud/ProductsRequest.h"
#include "localstate/RowRules.h"
#include "support/ComponentTesting.h"
#include "support/DemoServiceFixture.h"

#include <set>

namespace
{
    class ProductsPageService : public DemoServiceFixture
    {
    protected:
        void SetUp() override
        {
            DemoServiceFixture::SetUp();
            settings = defaultFormatSettings();
            delegate.settings = settings;
            products = fetchCatalogue (demoToken());
            ASSERT_FALSE (products.empty());

            install ("aurora9", { PluginFormats::aax, PluginFormats::vst2, PluginFormats::vst3 }, { 2, 1, 0, 0 });
            install ("fjellvind", { PluginFormats::vst2, PluginFormats::vst3 }, { 1, 4, 2, 0 });
            install ("mysynth", { PluginFormats::vst3 }, { 1, 2, 3, 0 });
            install ("kvistcomp", { PluginFormats::aax, PluginFormats::vst2, PluginFormats::vst3 }, { 9, 9, 9, 0 });
            install ("lumo", { PluginFormats::vst3 }, { 3, 0, 1, 0 });
        }

        void install (const juce::String& name, std::vector<PluginFormat> formats, std::array<std::uint16_t, 4> version)
        {
            for (auto& p : products)
                if (p.name == name)
                    for (auto f : formats)
                        installFormat (p, f, version, settings);
        }

        std::vector<ProductRow> prepared()
        {
            return VRCloud::prepareProductRows (products, settings);
        }

        bool allPicturesSettled (ProductsPage& page)
        {
            return pumpUntil ([&] { return page.pictures.pendingLoads() == 0; }, 20000);
        }

        FormatSettings settings;
        TestCellDelegate delegate;
        std::vector<VRCloud::Product> products;
    };

    const std::map<juce::String, int> expectedPluginCodes {
        { "aurora9", 3 }, { "fjellvind", 3 }, { "mysynth", 2 }, { "kvistcomp", 2 }, { "lumo", 1 }
    };
}

TEST_F (ProductsPageService, GroupsCodesAndLayoutAt820)
{
    ProductsPage page (&delegate);
    const auto rows = prepared();
    showRows (page, rows);

    EXPECT_EQ (page.table.getWidth(), 814);

    int plugins = 0, expansions = 0;
    std::set<int> columnsUsed;

    for (auto& cell : page.cells)
    {
        if (cell->kind == 2)
        {
            ++expansions;
            EXPECT_EQ (cell->status, 1) << cell->row.name;
            EXPECT_FALSE (cell->isVisible()) << "expansions wait for their tab";
            continue;
        }

        ++plugins;
        const auto expected = expectedPluginCodes.count (cell->row.name) ? expectedPluginCodes.at (cell->row.name) : 1;
        EXPECT_EQ (cell->status, expected) << cell->row.name;
        EXPECT_EQ (cell->placedCode, expected) << cell->row.name;
        ASSERT_TRUE (cell->isVisible()) << cell->row.name;
        EXPECT_EQ (cell->getWidth(), 377);
        EXPECT_EQ (cell->getHeight(), 103);
        columnsUsed.insert (cell->getX());
    }

    EXPECT_EQ (columnsUsed, (std::set<int> { 22, 412 }));
    ASSERT_GT (expansions, 0);

    const auto notInstalledCount = plugins - 4;
    auto* notInstalled = page.table.headerFor (1);
    auto* updates = page.table.headerFor (2);
    auto* installed = page.table.headerFor (3);
    ASSERT_TRUE (notInstalled && updates && installed);
    EXPECT_EQ (page.table.headerFor (20), nullptr);

    EXPECT_EQ (notInstalled->titleText, "Not installed");
    EXPECT_EQ (notInstalled->subtitleText, "(" + juce::String (notInstalledCount) + ") Owned plugins, but not installed on this computer");
    EXPECT_EQ (updates->subtitleText, "(2) Installed plugins with an available update");
    EXPECT_EQ (installed->titleText, "Installed");
    EXPECT_EQ (installed->subtitleText, "(2) Installed plugins that are up to date");

    // Groups in order, each header above its own cells.
    EXPECT_EQ (notInstalled->getPosition(), juce::Point<int> (25, 16));
    EXPECT_LT (notInstalled->getY(), updates->getY());
    EXPECT_LT (updates->getY(), installed->getY());

    for (auto& cell : page.cells)
    {
        if (cell->kind == 2)
            continue;

        auto* own = page.table.headerFor (cell->status);
        EXPECT_EQ (cell->getY() >= own->getY() + 37, true) << cell->row.name;
        for (auto code : { 1, 2, 3 })
            if (auto* later = page.table.headerFor (code); later != nullptr && later->getY() > own->getY())
            {
                EXPECT_LT (cell->getY(), later->getY()) << cell->row.name;
            }
    }

    // Each group ends 136 pixels below its last row of cells.
    const auto rowsOf = [] (int n) { return (n + 1) / 2; };
    EXPECT_EQ (updates->getY(), 16 + 37 + (rowsOf (notInstalledCount) - 1) * 113 + 136);
    EXPECT_EQ (page.table.content.getHeight(), installed->getY() + 37 + 136);

    // Filter buttons: all three, from the right end of the 786-pixel header.
    auto& header = page.filterHeader;
    EXPECT_EQ (header.getBounds(), juce::Rectangle<int> (17, 46, 786, 42));
    EXPECT_EQ (header.installedButton.getBounds(), juce::Rectangle<int> (692, 16, 80, 14));
    EXPECT_EQ (header.updatesButton.getBounds(), juce::Rectangle<int> (605, 16, 80, 14));
    EXPECT_EQ (header.notInstalledButton.getBounds(), juce::Rectangle<int> (518, 16, 80, 14));
    EXPECT_FLOAT_EQ (header.lineEnd, 511.0f);

    EXPECT_TRUE (page.notUpdatedToggle.isEnabled());
    EXPECT_TRUE (page.notInstalledToggle.isEnabled());
    EXPECT_TRUE (page.expansionsNotInstalledToggle.isEnabled());

    // The expansions tab shows only expansions, in their own groups.
    page.expansionsTab.triggerClick();
    pumpUntil ([&] { return page.table.mode == 1; }, 2000);
    ASSERT_EQ (page.table.mode, 1);
    EXPECT_EQ (header.title.getText(), "Available expansions");
    EXPECT_FALSE (page.notUpdatedToggle.isVisible());
    EXPECT_FALSE (page.notInstalledToggle.isVisible());
    EXPECT_TRUE (page.expansionsNotInstalledToggle.isVisible());
    EXPECT_EQ (page.expansionsNotInstalledToggle.getBounds(), page.notInstalledToggle.getBounds());

    for (auto& cell : page.cells)
        EXPECT_EQ (cell->isVisible(), cell->kind == 2) << cell->row.name;

    ASSERT_NE (page.table.headerFor (1), nullptr);
    EXPECT_EQ (page.table.headerFor (1)->subtitleText, "");
    EXPECT_EQ (page.table.headerFor (3), nullptr);

    EXPECT_TRUE (allPicturesSettled (page));
}

TEST_F (ProductsPageService, SelectionAndActionButtons)
{
    ProductsPage page (&delegate);
    showRows (page, prepared());

    auto* lumo = cellNamed (page, "lumo");
    auto* aurora = cellNamed (page, "aurora9");
    auto* kvist = cellNamed (page, "kvistcomp");
    ASSERT_TRUE (lumo && aurora && kvist);

    const auto clickOn = [] (ProductsPage::Cell& cell) { cell.mouseDown (mouseEventAt (cell, { 200, 60 })); };

    // A then B: only B.
    clickOn (*lumo);
    EXPECT_TRUE (lumo->selected);
    EXPECT_FALSE (page.selectedLabel.isVisible()) << "one selected cell needs no count";
    EXPECT_TRUE (page.installButton.isVisible());
    EXPECT_EQ (page.installButton.text, "Complete installation");
    EXPECT_EQ (page.installButton.getBounds(), juce::Rectangle<int> (820 - 12 - 130, 565, 130, 24));
    EXPECT_TRUE (page.uninstallButton.isVisible());
    EXPECT_EQ (page.uninstallButton.getBounds(), juce::Rectangle<int> (820 - 12 - 140 - 88, 565, 87, 24));

    clickOn (*kvist);
    EXPECT_FALSE (lumo->selected);
    EXPECT_TRUE (kvist->selected);
    EXPECT_EQ (page.installButton.text, "Update");
    EXPECT_EQ (page.installButton.getWidth(), 87);
    EXPECT_EQ (page.installButton.fillColour, juce::Colour (0xfffbd53e));

    // B again: nothing selected, no buttons.
    clickOn (*kvist);
    EXPECT_EQ (page.selectedCount(), 0);
    EXPECT_FALSE (page.installButton.isVisible());
    EXPECT_FALSE (page.uninstallButton.isVisible());

    // A fully installed, current plugin: no install button, uninstall only.
    clickOn (*aurora);
    EXPECT_FALSE (page.installButton.isVisible());
    EXPECT_TRUE (page.uninstallButton.isVisible());

    // A busy cell cannot be selected.
    aurora->busy = true;
    clickOn (*lumo);
    clickOn (*aurora);
    EXPECT_FALSE (aurora->selected);
    EXPECT_EQ (page.selectedCount(), 0);
    aurora->busy = false;

    // Not Updated: exactly the plugins with code 2; off again clears everything.
    clickOn (*lumo);
    page.notUpdatedToggle.triggerClick();
    pumpUntil ([&] { return page.notUpdatedToggle.getToggleState(); }, 2000);
    ASSERT_TRUE (page.notUpdatedToggle.getToggleState());
    EXPECT_TRUE (page.notUpdatedToggle.filled);

    for (auto& cell : page.cells)
        EXPECT_EQ (cell->selected, cell->kind != 2 && cell->status == 2) << cell->row.name;

    EXPECT_TRUE (page.selectedLabel.isVisible());
    EXPECT_EQ (page.selectedLabel.getText(), "2 selected");

    page.notInstalledToggle.triggerClick();
    pumpUntil ([&] { return page.notInstalledToggle.getToggleState(); }, 2000);
    EXPECT_FALSE (page.notUpdatedToggle.getToggleState()) << "one toggle at a time";

    int notInstalledPlugins = 0;
    for (auto& cell : page.cells)
    {
        EXPECT_EQ (cell->selected, cell->kind != 2 && cell->status == 1) << cell->row.name;
        notInstalledPlugins += cell->selected ? 1 : 0;
    }

    EXPECT_EQ (page.selectedLabel.getText(), juce::String (notInstalledPlugins) + " selected");
    EXPECT_EQ (page.selectedLabel.getX(), page.uninstallButton.isVisible() ? 820 - 12 - page.installButton.getWidth() - 10 - 97 - 75
                                                                          : 820 - 12 - page.installButton.getWidth() - 10 - 75);

    page.notInstalledToggle.triggerClick();
    pumpUntil ([&] { return ! page.notInstalledToggle.getToggleState(); }, 2000);
    EXPECT_EQ (page.selectedCount(), 0);
    EXPECT_FALSE (page.selectedLabel.isVisible());

    // Expansions' toggle selects the missing expansions only.
    page.expansionsNotInstalledToggle.triggerClick();
    pumpUntil ([&] { return page.expansionsNotInstalledToggle.getToggleState(); }, 2000);
    for (auto& cell : page.cells)
        EXPECT_EQ (cell->selected, cell->kind == 2 && cell->status == 1) << cell->row.name;
    EXPECT_EQ (page.installButton.text, "Install");

    // A click on the empty list clears the selection.
    page.table.content.mouseDown (mouseEventAt (page.table.content, { 5, 5 }));
    EXPECT_EQ (page.selectedCount(), 0);
    EXPECT_FALSE (page.installButton.isVisible());

    EXPECT_TRUE (allPicturesSettled (page));
}

TEST_F (ProductsPageService, PicturesArriveAndFailuresLeaveThemEmpty)
{
    ProductsPage page (&delegate);
    auto rows = prepared();

    // One picture that is not an image, one address where nothing answers.
    rows[0].ui_image = juce::String (service.origin()) + "/terms";
    rows[1].icon = closedOrigin() + "/files/pictures/none.png";

    showRows (page, rows);
    ASSERT_TRUE (allPicturesSettled (page));

    EXPECT_TRUE (page.cells[0]->row.uiImage.isNull());
    EXPECT_TRUE (page.cells[1]->row.iconImage.isNull());

    for (size_t i = 0; i < page.cells.size(); ++i)
    {
        const auto& row = page.cells[i]->row;

        if (i != 0 && row.ui_image.isNotEmpty())
        {
            EXPECT_TRUE (row.uiImage.isValid()) << row.name;

        }
        if (i != 1 && row.icon.isNotEmpty())
        {
            EXPECT_TRUE (row.iconImage.isValid()) << row.name;
        }
        if (row.icon.isEmpty())
        {
            EXPECT_TRUE (row.iconImage.isNull()) << row.name;
        }
    }

    // A second list fetches only the two addresses the first did not have;
    // a third comes entirely from the cache.
    auto before = page.pictures.shared->downloads.load();
    showRows (page, prepared());
    ASSERT_TRUE (allPicturesSettled (page));
    EXPECT_EQ (page.pictures.shared->downloads.load() - before, 2);

    before = page.pictures.shared->downloads.load();
    showRows (page, prepared());
    ASSERT_TRUE (allPicturesSettled (page));
    EXPECT_EQ (page.pictures.shared->downloads.load() - before, 0);
    EXPECT_TRUE (page.cells[0]->row.uiImage.isValid());
}

TEST_F (ProductsPageService, RefreshWhilePicturesLoad)
{
    service.faults().setLatency (std::chrono::milliseconds (300), "/files/pictures/");

    // Many cells, so that loads queue behind the pool's threads.
    auto base = prepared();
    std::vector<ProductRow> many;
    for (int copy = 0; copy < 6; ++copy)
        for (auto row : base)
        {
            row.icon = row.icon.isEmpty() ? row.icon : row.icon + "?copy=" + juce::String (copy);
            row.ui_image = row.ui_image.isEmpty() ? row.ui_image : row.ui_image + "?copy=" + juce::String (copy);
            many.push_back (row);
        }

    {
        ProductsPage page (&delegate);

        for (int refresh = 0; refresh < 4; ++refresh)
        {
            if (refresh > 0)
            {
                EXPECT_GT (page.pictures.pendingLoads(), 0) << "the refresh must land while loads run";
            }

            showRows (page, many);
            // Let some loads start and some finish before the next refresh deletes the cells.
            pumpUntil ([] { return false; }, 150 + 100 * refresh);
        }

        EXPECT_LE (page.pictures.shared->mostBusyThreads.load(), 8);
        EXPECT_GE (page.pictures.shared->mostBusyThreads.load(), 2);

        ASSERT_TRUE (allPicturesSettled (page));

        for (auto& cell : page.cells)
            if (cell->row.ui_image.isNotEmpty())
            {
                EXPECT_TRUE (cell->row.uiImage.isValid()) << cell->row.name;
            }

        // The page goes away while loads are still running.
        showRows (page, many);
        pumpUntil ([] { return false; }, 100);
    }

    // Results posted for the deleted page must find nothing and do nothing.
    pumpUntil ([] { return false; }, 1500);
    SUCCEED();
}
