// Which action buttons the first selected product gets, over real files.

#include "ProductPageTesting.h"

#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    class ProductActionRules : public ::testing::Test
    {
    protected:
        ScopedSandbox sandbox;
        FormatSettings settings = defaultFormatSettings();
    };
}

TEST_F (ProductActionRules, InstallButtonTextAndWidth)
{
    struct Case
    {
        const char* what;
        juce::StringArray offered;
        bool aaxEnabled;
        std::vector<std::pair<PluginFormat, std::array<std::uint16_t, 4>>> installed;
        juce::String buildGroup, installedBuild;
        bool visible;
        juce::String text;
        int width;
        bool uninstall;
    };

    const std::vector<Case> cases {
        { "nothing installed", { "aax", "vst3" }, true, {}, "public", "100", true, "Install", 87, false },
        { "VST3 present, AAX offered and enabled", { "aax", "vst3" }, true, { { PluginFormats::vst3, { 2, 0, 0, 0 } } }, "public", "100", true, "Complete installation", 130, true },
        { "AAX disabled, VST3 current", { "aax", "vst3" }, false, { { PluginFormats::vst3, { 2, 0, 0, 0 } } }, "public", "1", false, "", 0, true },
        { "AAX disabled, VST3 older", { "aax", "vst3" }, false, { { PluginFormats::vst3, { 1, 9, 9, 0 } } }, "public", "100", true, "Update", 87, true },
        { "current, beta group, other build", { "aax", "vst3" }, false, { { PluginFormats::vst3, { 2, 0, 0, 0 } } }, "beta", "99", true, "Update", 87, true },
        { "current, beta group, same build", { "aax", "vst3" }, false, { { PluginFormats::vst3, { 2, 0, 0, 0 } } }, "beta", "100", false, "", 0, true },
        // An old file of a format the product does not offer still asks for an update.
        { "older VST2 not offered", { "vst3" }, true, { { PluginFormats::vst3, { 2, 0, 0, 0 } }, { PluginFormats::vst2, { 1, 0, 0, 0 } } }, "public", "1", true, "Update", 87, true },
        { "only resources present", { "vst3", "res" }, true, { { PluginFormats::resources, { 0, 0, 0, 0 } } }, "public", "1", true, "Install", 87, true },
    };

    int index = 0;

    for (const auto& c : cases)
    {
        auto s = settings;
        s.active[PluginFormats::aax] = c.aaxEnabled;

        auto product = makeProduct ("Case " + juce::String (index++), "instrument", "2.0.0", c.offered, c.buildGroup);

        for (auto& [format, version] : c.installed)
            installFormat (product, format, version, s);

        auto row = rowFor (product, s);
        row.installedBuild = c.installedBuild;

        const auto look = ProductListRules::installButtonFor (row, false);
        EXPECT_EQ (look.visible, c.visible) << c.what;

        if (c.visible)
        {
            EXPECT_EQ (look.text, c.text) << c.what;
            EXPECT_EQ (look.width, c.width) << c.what;
            EXPECT_EQ (look.fill, juce::Colour (c.text == "Update" ? 0xfffbd53e : 0xff4abf48)) << c.what;
            EXPECT_EQ (look.textColour, juce::Colour (0xff091c2a));
        }

        EXPECT_EQ (ProductListRules::uninstallVisibleFor (row, false), c.uninstall) << c.what;
    }
}

TEST_F (ProductActionRules, Expansions)
{
    const auto row = rowFor (makeProduct ("Pack", "extension", "1.0.0", { "res" }), settings);

    EXPECT_FALSE (ProductListRules::installButtonFor (row, true).visible);
    EXPECT_TRUE (ProductListRules::uninstallVisibleFor (row, true));

    const auto missing = ProductListRules::installButtonFor (row, false);
    EXPECT_TRUE (missing.visible);
    EXPECT_EQ (missing.text, "Install");
    EXPECT_FALSE (ProductListRules::uninstallVisibleFor (row, false));
}

TEST_F (ProductActionRules, SelectAllMatching)
{
    using ProductListRules::SelectAll;
    const auto plugin = rowFor (makeProduct ("Plug", "effect", "1.0.0", { "vst3" }), settings);
    const auto pack = rowFor (makeProduct ("Pack", "extension", "1.0.0", { "res" }), settings);

    EXPECT_TRUE (matchesSelectAll (SelectAll::notUpdated, 2, false, plugin));
    EXPECT_FALSE (matchesSelectAll (SelectAll::notUpdated, 2, true, pack));
    EXPECT_FALSE (matchesSelectAll (SelectAll::notUpdated, 1, false, plugin));
    EXPECT_TRUE (matchesSelectAll (SelectAll::notInstalledPlugins, 1, false, plugin));
    EXPECT_FALSE (matchesSelectAll (SelectAll::notInstalledPlugins, 1, true, pack));
    EXPECT_FALSE (matchesSelectAll (SelectAll::notInstalledPlugins, 20, false, plugin));
    EXPECT_FALSE (matchesSelectAll (SelectAll::notInstalledExpansions, 1, false, plugin));

    // An expansion that lists only "res" passes the plugin-format test
    // vacuously; it must still match while its files are missing.
    EXPECT_TRUE (matchesSelectAll (SelectAll::notInstalledExpansions, 1, true, pack));
    EXPECT_FALSE (matchesSelectAll (SelectAll::notInstalledExpansions, 3, true, pack));

    // One that offers a plugin format follows that format's files.
    auto packWithPlugin = makeProduct ("Pack Two", "extension", "1.0.0", { "vst3" });
    EXPECT_TRUE (matchesSelectAll (SelectAll::notInstalledExpansions, 1, true, rowFor (packWithPlugin, settings)));
    installFormat (packWithPlugin, PluginFormats::vst3, { 1, 0, 0, 0 }, settings);
    EXPECT_FALSE (matchesSelectAll (SelectAll::notInstalledExpansions, 1, true, rowFor (packWithPlugin, settings)));
}

TEST (ProductListLayout, ColumnsAndGroupTexts)
{
    EXPECT_EQ (ProductListRules::columnsForWidth (814), 2);
    EXPECT_EQ (ProductListRules::columnsForWidth (100), 1);
    EXPECT_EQ (ProductListRules::columnsForWidth (1200), 3);
    EXPECT_EQ (ProductListRules::cellBounds (1, 53), juce::Rectangle<int> (412, 53, 377, 103));

    EXPECT_EQ (ProductListRules::kindOf ("instrument"), 0);
    EXPECT_EQ (ProductListRules::kindOf ("effect"), 1);
    EXPECT_EQ (ProductListRules::kindOf ("extension"), 2);
    EXPECT_EQ (ProductListRules::kindOf ("Effect"), 0);

    // Coloured format dots only in a settled group, never while installing.
    const struct { int placedCode; bool dots; } placements[] = {
        { 0, false }, { 1, true }, { 2, true }, { 3, true }, { 20, false },
    };
    for (const auto& p : placements)
        EXPECT_EQ (ProductListRules::showsFileDots (p.placedCode), p.dots) << p.placedCode;

    EXPECT_EQ (ProductListRules::groupText (0, 20, 3).subtitle, "(3) Keep this app open until completed");
    EXPECT_EQ (ProductListRules::groupText (0, 3, 4).subtitle, "(4) Installed plugins that are up to date");
    EXPECT_EQ (ProductListRules::groupText (1, 3, 4).title, "Installed expansions");
    EXPECT_EQ (ProductListRules::groupText (1, 3, 4).subtitle, "");
}
