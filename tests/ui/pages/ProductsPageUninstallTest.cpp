// Uninstalling from the products page over real plugin files in a sandbox:
// one dialog per selected product, each "YES" acting on its own cell.

#include "ProductPageTesting.h"

#include "localstate/RowRules.h"
#include "platform/Locations.h"
#include "support/LogCapture.h"
#include "support/TestEnvironment.h"
#include "ui/look/Toast.h"

#include <gtest/gtest.h>

namespace
{
    class ProductsPageUninstall : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            Toast::toastShowing = false;
            delegate.settings = settings;
        }

        void TearDown() override { Toast::toastShowing = false; }

        /** A plugin installed as VST2 and VST3 with a resource folder in the data folder. */
        ProductRow installedPlugin (const juce::String& title)
        {
            const auto product = makeProduct (title, "instrument", "1.0.0", { "vst", "vst3" });
            installFormat (product, PluginFormats::vst2, { 1, 0, 0, 0 }, settings);
            installFormat (product, PluginFormats::vst3, { 1, 0, 0, 0 }, settings);
            put (Locations::dataFolder().getChildFile (title).getChildFile ("appdata/Assets.vra"));
            return rowFor (product, settings);
        }

        ProductRow installedExpansion (const juce::String& title, const juce::String& parentTitle)
        {
            auto row = rowFor (makeProduct (title, "extension", "1.0.0", {}), settings);
            row.parentTitle = parentTitle;
            row.contents = { "Sounds/" + row.name + ".wav" };
            put (Locations::dataFolder().getChildFile (parentTitle).getChildFile (row.contents[0]));
            return row;
        }

        static void put (const juce::File& file)
        {
            ASSERT_TRUE (file.getParentDirectory().createDirectory().wasOk());
            ASSERT_TRUE (file.replaceWithText ("x"));
        }

        bool onDisk (const ProductRow& row) const
        {
            if (row.isExpansion())
                return Locations::dataFolder().getChildFile (row.parentTitle).getChildFile (row.contents[0]).exists();

            return isInstalled (row);
        }

        std::vector<Toast*> toasts()
        {
            std::vector<Toast*> found;
            for (auto* child : page.getChildren())
                if (auto* toast = dynamic_cast<Toast*> (child))
                    found.push_back (toast);
            return found;
        }

        juce::StringArray toastTexts()
        {
            juce::StringArray texts;
            for (auto* toast : toasts())
                texts.add (toast->title + ": " + toast->message);
            return texts;
        }

        /** Presses YES (button 1) or NO (button 2) on the dialog with that title. */
        void answer (const juce::String& title, bool yes)
        {
            for (auto* toast : toasts())
            {
                if (toast->title == title && toast->button1 != nullptr)
                {
                    (yes ? toast->button1 : toast->button2)->triggerClick();
                    return;
                }
            }

            ADD_FAILURE() << "no dialog titled " << title;
        }

        void selectAndPressUninstall (juce::StringArray names)
        {
            for (auto& cell : page.cells)
                cell->selected = names.contains (cell->row.name);

            page.updateActionButtons();
            ASSERT_TRUE (page.uninstallButton.isVisible());
            page.uninstallButton.triggerClick();
            ASSERT_TRUE (pumpUntil ([&] { return (int) toasts().size() == names.size(); }));
        }

        ScopedSandbox sandbox;
        FormatSettings settings = defaultFormatSettings();
        TestCellDelegate delegate;
        ProductsPage page { &delegate };
    };
}

TEST_F (ProductsPageUninstall, OneConfirmedProductIsRemovedAndToldUninstalled)
{
    const auto row = installedPlugin ("My Synth");
    const auto other = installedPlugin ("Other Synth");
    showRows (page, { row, other });

    selectAndPressUninstall ({ "mysynth" });
    EXPECT_EQ (toastTexts(), juce::StringArray { "My Synth: Uninstall?" });
    EXPECT_TRUE (onDisk (row)) << "nothing goes before the answer";

    answer ("My Synth", true);
    ASSERT_TRUE (pumpUntil ([&] { return toastTexts().contains ("My Synth: Uninstalled"); }, 5000));

    EXPECT_FALSE (onDisk (row));
    EXPECT_FALSE (Locations::dataFolder().getChildFile ("My Synth/appdata").exists());
    EXPECT_TRUE (onDisk (other));
    auto* cell = cellNamed (page, "mysynth");
    ASSERT_NE (cell, nullptr);
    EXPECT_FALSE (cell->selected);
    EXPECT_EQ (cell->status, ProductListRules::notInstalled);
    EXPECT_FALSE (page.uninstallButton.isVisible());
}

TEST_F (ProductsPageUninstall, SeveralDialogsEachActOnTheirOwnProductWithoutAToast)
{
    const auto first = installedPlugin ("My Synth");
    const auto kept = installedPlugin ("Other Synth");
    const auto sounds = installedExpansion ("Synth Sounds", "My Synth");
    showRows (page, { first, kept, sounds });

    selectAndPressUninstall ({ "mysynth", "othersynth", "synthsounds" });
    EXPECT_EQ (toastTexts(), (juce::StringArray { "My Synth: Uninstall?", "Other Synth: Uninstall?", "Synth Sounds: Uninstall?" }));

    answer ("Synth Sounds", true);
    answer ("Other Synth", false);
    answer ("My Synth", true);

    auto* firstCell = cellNamed (page, "mysynth");
    auto* soundsCell = cellNamed (page, "synthsounds");
    ASSERT_TRUE (pumpUntil ([&] { return toasts().empty() && firstCell->status == ProductListRules::notInstalled
                                          && soundsCell->status == ProductListRules::notInstalled; }, 5000))
        << toastTexts().joinIntoString (", ");

    EXPECT_FALSE (onDisk (first));
    EXPECT_FALSE (onDisk (sounds));
    EXPECT_FALSE (soundsCell->allFilesInstalled);
    EXPECT_TRUE (onDisk (kept)) << "NO keeps the product";
    EXPECT_TRUE (Locations::dataFolder().getChildFile ("Other Synth/appdata/Assets.vra").existsAsFile());
}

TEST_F (ProductsPageUninstall, AnAnswerAfterTheListWasRebuiltRemovesNothing)
{
    const auto row = installedPlugin ("My Synth");
    showRows (page, { row });
    selectAndPressUninstall ({ "mysynth" });

    showRows (page, { row });   // a refresh recreates every cell under the open dialog

    LogCapture log;
    answer ("My Synth", true);
    ASSERT_TRUE (pumpUntil ([&] { return toasts().empty(); }));

    EXPECT_TRUE (onDisk (row));
    EXPECT_TRUE (log.contains ("uninstall answer dropped, the list changed meanwhile: My Synth"));
    EXPECT_FALSE (log.contains ("unInstall My Synth"));
}
