// The settings panel: its guard before closing, the folder fields, the two
// sections and every closing action, on a panel the size of the window.

#include "ProductPageTesting.h"
#include "SettingsPageTesting.h"

#include "cloud/ServiceConfig.h"
#include "support/ComponentTesting.h"
#include "support/LogCapture.h"
#include "support/TestEnvironment.h"
#include "ui/look/Toast.h"
#include "ui/pages/SettingsRules.h"

#include <gtest/gtest.h>

namespace
{
    const juce::String sep = juce::File::getSeparatorString();

    class SettingsPageTest : public ::testing::Test
    {
    protected:
        void SetUp() override    { Toast::toastShowing = false; }
        void TearDown() override
        {
            delete page.getComponent();
            Toast::toastShowing = false;
        }

        SettingsPage& open (bool staff = false, bool useTestUrl = false, const juce::String& testUrl = "https://test.example")
        {
            page = new SettingsPage (&delegate, &settings, staff, useTestUrl, testUrl);
            page->setSize (820, 600);
            return *page;
        }

        juce::StringArray dialogTitles() const
        {
            juce::StringArray titles;
            if (page == nullptr)
                return titles;
            for (auto* child : page->getChildren())
                if (auto* toast = dynamic_cast<Toast*> (child))
                    titles.add (toast->title);
            return titles;
        }

        void dismissDialogs()
        {
            ASSERT_NE (page, nullptr);
            for (auto* child : page->getChildren())
                if (auto* toast = dynamic_cast<Toast*> (child))
                    if (toast->button1 != nullptr)
                        toast->button1->triggerClick();
            pumpUntil ([&] { return dialogTitles().isEmpty(); });
        }

        /** True once the panel has deleted itself. */
        bool closedAndDeleted()
        {
            return pumpUntil ([&] { return page == nullptr; }, 2000);
        }

        juce::TextEditor& folderField (PluginFormat format) { return page->folderFields[(size_t) format - 1]; }

        // A text field tells of its edits and of the return key through posted messages.
        static void pressReturn (juce::TextEditor& field)
        {
            field.keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
            runPostedMessages();
        }

        static void type (juce::TextEditor& field, const juce::String& text)
        {
            field.setText (text, true);
            runPostedMessages();
        }

        ScopedSandbox sandbox;
        FormatSettings settings = defaultFormatSettings();
        RecordingSettingsDelegate delegate;
        juce::Component::SafePointer<SettingsPage> page;
    };

    ProductRow installedRow (const juce::String& title)
    {
        ProductRow row;
        row.title = title;
        row.name = title.removeCharacters (" ").toLowerCase();
        row.category = "instrument";
        return row;
    }
}

TEST (SettingsRules, GuardNeedsAFormatAndExplainsAChangeOnce)
{
    struct Case { bool aax, vst2, vst3, changed, infoShown; SettingsRules::Guard expected; };
    const Case cases[] = {
        { false, false, false, false, false, SettingsRules::Guard::noFormatChosen },
        { false, false, false, true,  true,  SettingsRules::Guard::noFormatChosen },
        { false, false, true,  true,  false, SettingsRules::Guard::showPathInfo },
        { true,  false, false, true,  true,  SettingsRules::Guard::pass },
        { true,  true,  true,  false, false, SettingsRules::Guard::pass },
    };

    for (const auto& c : cases)
    {
        const bool active[3] { c.aax, c.vst2, c.vst3 };
        EXPECT_EQ (SettingsRules::guard (active, c.changed, c.infoShown), c.expected)
            << c.aax << c.vst2 << c.vst3 << " changed " << c.changed << " shown " << c.infoShown;
    }
}

TEST (SettingsRules, AppliedFolderEndsWithASeparatorAndFallsBackToTheDefault)
{
    struct Case { const char* typed; const char* separator; const char* expected; };
    const Case cases[] = {
        { "D:\\Plugins\\VST3",   "\\", "D:\\Plugins\\VST3\\" },
        { "D:\\Plugins\\VST3\\", "\\", "D:\\Plugins\\VST3\\" },
        { "",                    "\\", "C:\\Default\\" },
        { "/home/me/vst",        "/",  "/home/me/vst/" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (SettingsRules::appliedFolder (c.typed, juce::String (c.separator) == "\\" ? "C:\\Default\\" : "/default/",
                                                 c.separator), c.expected) << c.typed;

    EXPECT_EQ (SettingsRules::testServerOrDefault ("", "https://t.example"), "https://t.example");
    EXPECT_EQ (SettingsRules::testServerOrDefault ("https://mine", "https://t.example"), "https://mine");
}

TEST_F (SettingsPageTest, AllFormatsOffKeepsThePanelThenThePathInfoShowsOnceBeforeDoneCloses)
{
    open();

    for (auto& toggle : page->formatSwitches)
        clickNow (toggle);

    EXPECT_FALSE (settings.active[0] || settings.active[1] || settings.active[2]) << "switches edit the settings at once";

    clickNow (page->doneButton);
    EXPECT_EQ (dialogTitles(), juce::StringArray { "Plugin types" });
    EXPECT_TRUE (delegate.finished.empty());
    ASSERT_NE (page, nullptr);
    EXPECT_FALSE (page->isClosing());
    dismissDialogs();

    clickNow (page->formatSwitches[2]);
    clickNow (page->doneButton);
    EXPECT_EQ (dialogTitles(), juce::StringArray { "Info about path changes" });
    EXPECT_TRUE (delegate.finished.empty());
    dismissDialogs();

    clickNow (page->doneButton);
    EXPECT_TRUE (dialogTitles().isEmpty()) << "the information shows once per panel";
    ASSERT_EQ (delegate.finished.size(), 1u);
    EXPECT_TRUE (delegate.finished[0].changed);
    EXPECT_TRUE (settings.active[2]);
    EXPECT_FALSE (settings.active[0]);
    EXPECT_TRUE (closedAndDeleted());
}

TEST_F (SettingsPageTest, ATypedFolderIsAppliedOnReturnWithItsSeparator)
{
    open();
    const auto typed = sandbox.root().getChildFile ("Plugins").getChildFile ("VST3").getFullPathName();

    type (folderField (PluginFormats::vst3), typed);
    EXPECT_TRUE (page->changed);
    pressReturn (folderField (PluginFormats::vst3));

    EXPECT_EQ (folderField (PluginFormats::vst3).getText(), typed + sep);
    EXPECT_EQ (settings.path[PluginFormats::vst3], typed + sep);
    EXPECT_EQ (dialogTitles(), juce::StringArray { "Info about path changes" });
    EXPECT_TRUE (page->pathInfoShown);
    dismissDialogs();

    clickNow (page->doneButton);
    ASSERT_EQ (delegate.finished.size(), 1u) << "the information was shown already";
    EXPECT_TRUE (delegate.finished[0].changed);
}

TEST_F (SettingsPageTest, AClearedVst2FieldIsTheDefaultFolderAgain)
{
    settings.path[PluginFormats::vst2] = sandbox.root().getChildFile ("Elsewhere").getFullPathName() + sep;
    open();

    type (folderField (PluginFormats::vst2), {});
    clickNow (page->doneButton);
    EXPECT_EQ (dialogTitles(), juce::StringArray { "Info about path changes" });
    dismissDialogs();
    clickNow (page->doneButton);

    EXPECT_EQ (settings.path[PluginFormats::vst2], settings.defaultPath[PluginFormats::vst2]);
    ASSERT_EQ (delegate.finished.size(), 1u);
}

TEST_F (SettingsPageTest, DoneWithoutStaffPassesTheStoredChoiceAndTheDefaultServer)
{
    struct Case { bool staff, useTestUrl; juce::String stored, expected; };
    const Case cases[] = {
        { false, true,  "",                     ServiceConfig::defaultTestServer() },
        { false, false, "https://mine.example", "https://mine.example" },
        { true,  true,  "",                     ServiceConfig::defaultTestServer() },
    };

    for (const auto& c : cases)
    {
        delegate.finished.clear();
        open (c.staff, c.useTestUrl, c.stored);
        EXPECT_EQ (page->testServerField.isVisible(), c.staff);

        clickNow (page->doneButton);

        ASSERT_EQ (delegate.finished.size(), 1u);
        EXPECT_FALSE (delegate.finished[0].changed) << "nothing was edited";
        EXPECT_EQ (delegate.finished[0].useTestUrl, c.useTestUrl);
        EXPECT_EQ (delegate.finished[0].testUrl, c.expected);
        EXPECT_TRUE (closedAndDeleted());
    }
}

TEST_F (SettingsPageTest, StaffTestServerControlsTakeTheirValues)
{
    open (true, false, "https://old.example");
    clickNow (page->testServerSwitch);
    type (page->testServerField, "");
    pressReturn (page->testServerField);
    EXPECT_EQ (page->testServerField.getText(), ServiceConfig::defaultTestServer());

    type (page->testServerField, "https://new.example");
    clickNow (page->doneButton);

    ASSERT_EQ (delegate.finished.size(), 1u);
    EXPECT_TRUE (delegate.finished[0].useTestUrl);
    EXPECT_EQ (delegate.finished[0].testUrl, "https://new.example");
}

TEST_F (SettingsPageTest, WipeSendsTheTickedRowsInListOrderAndCloses)
{
    delegate.installed = { installedRow ("Alpha"), installedRow ("Beta"), installedRow ("Gamma") };
    open();
    EXPECT_FALSE (page->installedList.isVisible());

    clickNow (page->uninstallTab);
    ASSERT_TRUE (page->uninstallMode);
    ASSERT_TRUE (page->installedList.isVisible());
    ASSERT_TRUE (page->wipeButton.isVisible());
    ASSERT_EQ (page->installedList.tickBoxes.size(), 3u);
    clickNow (*page->installedList.tickBoxes[1]);

    LogCapture log;
    clickNow (page->wipeButton);

    ASSERT_EQ (delegate.wiped.size(), 1u);
    ASSERT_EQ (delegate.wiped[0].size(), 2u);
    EXPECT_EQ (delegate.wiped[0][0].title, "Alpha");
    EXPECT_EQ (delegate.wiped[0][1].title, "Gamma");
    EXPECT_TRUE (log.contains ("Do Wipe pressed"));
    EXPECT_TRUE (closedAndDeleted());
}

TEST_F (SettingsPageTest, WipeWithNothingListedStillReportsAndCloses)
{
    open();
    clickNow (page->uninstallTab);
    clickNow (page->wipeButton);

    ASSERT_EQ (delegate.wiped.size(), 1u);
    EXPECT_TRUE (delegate.wiped[0].empty());
    EXPECT_TRUE (closedAndDeleted());
}

TEST_F (SettingsPageTest, ReloadClosesAtOnceAndLogoutPassesTheGuardFirst)
{
    open();
    LogCapture log;
    clickNow (page->reloadButton);
    EXPECT_EQ (delegate.refreshes, 1);
    EXPECT_TRUE (log.contains ("refreshButton"));
    EXPECT_TRUE (closedAndDeleted());

    open();
    for (auto& toggle : page->formatSwitches)
        clickNow (toggle);
    clickNow (page->logoutButton);
    EXPECT_EQ (dialogTitles(), juce::StringArray { "Plugin types" });
    EXPECT_EQ (delegate.logouts, 0);
    dismissDialogs();

    clickNow (page->formatSwitches[0]);
    clickNow (page->logoutButton);
    EXPECT_EQ (dialogTitles(), juce::StringArray { "Info about path changes" });
    dismissDialogs();
    clickNow (page->logoutButton);
    EXPECT_EQ (delegate.logouts, 1);
    EXPECT_TRUE (closedAndDeleted());
}

TEST_F (SettingsPageTest, TheFolderChooserStartsAtTheFolderAndFillsTheFieldOnly)
{
    open();
    juce::File startedAt;
    std::function<void (const juce::File&)> answer;
    page->chooseFolder = [&] (const juce::File& start, std::function<void (const juce::File&)> chosen)
    {
        startedAt = start;
        answer = std::move (chosen);
    };

    const auto before = settings.path[PluginFormats::vst3];
    clickNow (page->folderChoosers[1]);
    EXPECT_EQ (startedAt, juce::File (before));
    ASSERT_TRUE (answer != nullptr);

    const auto chosen = sandbox.root().getChildFile ("Chosen VST3");
    answer (chosen);
    runPostedMessages();
    EXPECT_EQ (folderField (PluginFormats::vst3).getText(), chosen.getFullPathName());
    EXPECT_TRUE (page->changed);
    EXPECT_EQ (settings.path[PluginFormats::vst3], before) << "nothing is applied before Done or return";

    // An answer that comes after the panel closed reaches nothing.
    clickNow (page->reloadButton);
    ASSERT_TRUE (closedAndDeleted());
    answer (chosen);
}

//==============================================================================
// What the panel looks like, at points the layout fixes.
namespace
{
    const juce::Colour panelFill (0xff091c2a);

    bool isColour (const juce::Image& image, int x, int y, juce::uint32 argb, int tolerance = 2)
    {
        return coloursClose (image.getPixelAt (x, y), juce::Colour (argb), tolerance);
    }

    int countNear (const juce::Image& image, juce::Rectangle<int> area, juce::uint32 argb)
    {
        return countPixels (image, area, [argb] (juce::Colour c) { return coloursClose (c, juce::Colour (argb), 40); });
    }
}

TEST_F (SettingsPageTest, ScreenshotsOfBothSectionsAndOfStaffMode)
{
    delegate.installed = { installedRow ("Alpha"), installedRow ("Beta") };
    open();
    ASSERT_EQ (page->panelBounds(), juce::Rectangle<int> (160, 125, 500, 350));
    const int x0 = 160, y0 = 125, W = 500, H = 350;

    auto image = paintOnBackground (*page, juce::Colours::white);
    saveScreenshot (image, "settings-install");

    EXPECT_TRUE (isColour (image, 10, 10, 0xff8f8f8f, 3)) << "the window is dimmed";
    EXPECT_TRUE (isColour (image, x0 + 250, y0 + H - 20, 0xff091c2a));
    EXPECT_TRUE (isColour (image, x0 + 28, y0 + 68, 0xff0196ff)) << "install tab filled blue";
    EXPECT_TRUE (isColour (image, x0 + 128 + 5, y0 + 68, 0xff091c2a)) << "uninstall tab is an outline";
    EXPECT_TRUE (isColour (image, x0 + W - 105 + 3, y0 + H - 43 + 12, 0xff4abf48)) << "Done is green";
    EXPECT_GT (countNear (image, { x0 + 40, y0 + 113, 350, 20 }, 0xff0196ff), 40) << "the heading is blue";
    EXPECT_GT (countNear (image, { x0 + 10, y0 + 150, 60, 100 }, 0xffe0e6ea), 20) << "format labels";
    EXPECT_EQ (countNear (image, { x0 + 20, y0 + H - 45, 95, 28 }, 0xfff54c4c), 0) << "no Wipe here";

    clickNow (page->uninstallTab);
    image = paintOnBackground (*page, juce::Colours::white);
    saveScreenshot (image, "settings-uninstall");

    EXPECT_TRUE (isColour (image, x0 + 128 + 3, y0 + 68, 0xfff54c4c)) << "uninstall tab filled red";
    EXPECT_TRUE (isColour (image, x0 + 25 + 5, y0 + 68, 0xff091c2a)) << "install tab is an outline";
    EXPECT_GT (countNear (image, { x0 + 40, y0 + 113, 350, 20 }, 0xfff54c4c), 40) << "the heading is red";
    EXPECT_EQ (countNear (image, { x0 + 40, y0 + 113, 350, 20 }, 0xff0196ff), 0);
    EXPECT_GT (countNear (image, { x0 + 25, y0 + H - 43, 86, 24 }, 0xfff54c4c), 20) << "Wipe's red outline and text";
    EXPECT_GT (countNear (image, { x0 + 5 + 50, y0 + 139, 180, 25 }, 0xffe0e6ea), 20) << "a listed title";

    delete page.getComponent();
    open (true);
    ASSERT_EQ (page->panelBounds(), juce::Rectangle<int> (160, 95, 500, 410));
    image = paintOnBackground (*page, juce::Colours::white);
    saveScreenshot (image, "settings-staff");

    EXPECT_TRUE (page->updateButton.isVisible());
    EXPECT_EQ (page->updateButton.getBounds(), juce::Rectangle<int> (160 + W - 105, 95 + 60 + 54, 86, 25));
    EXPECT_EQ (page->installTab.getBounds(), juce::Rectangle<int> (160 + 25, 95 + 60 + 56, 86, 24));
    EXPECT_EQ (page->testServerField.getBounds(), juce::Rectangle<int> (160 + 78, 95 + 60, 297, 22));
    EXPECT_TRUE (isColour (image, 160 + 250, 95 + 405, 0xff091c2a)) << "the taller panel";
    EXPECT_TRUE (isColour (image, 160 + 28, 95 + 60 + 68, 0xff0196ff)) << "tabs moved down by 60";
    EXPECT_GT (countNear (image, { 160 + 385, 95 + 61, 80, 20 }, 0xffe0e6ea), 10) << "Dev URL";
}
