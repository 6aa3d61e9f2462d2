// Installing from the products page against the demo service: real archives
// over loopback, unpacked and placed in the sandbox, with the page's cells,
// Stop button, activity label and toasts.

#include "ProductPageTesting.h"

#include "cloud/ProductList.h"
#include "localstate/RowRules.h"
#include "support/DemoServiceFixture.h"
#include "ui/look/Toast.h"

namespace
{
    class ProductsPageInstall : public DemoServiceFixture
    {
    protected:
        void SetUp() override
        {
            DemoServiceFixture::SetUp();
            settings = defaultFormatSettings();
            delegate.settings = settings;
            delegate.token = demoToken();
            products = fetchCatalogue (delegate.token);
            ASSERT_FALSE (products.empty());
        }

        /** A page with the demo list; finished installs report after 100 ms
            instead of two seconds. */
        std::unique_ptr<ProductsPage> makePage (InstallQueueOptions options = {})
        {
            options.sequence.completionDelayMs = 100;
            auto page = std::make_unique<ProductsPage> (&delegate, std::move (options));
            refresh (*page);
            return page;
        }

        /** A list refresh as the main component runs it: every cell is recreated. */
        void refresh (ProductsPage& page)
        {
            showRows (page, VRCloud::prepareProductRows (products, settings));
        }

        static juce::StringArray toastTexts (ProductsPage& page)
        {
            juce::StringArray texts;
            for (auto* child : page.getChildren())
                if (auto* toast = dynamic_cast<Toast*> (child))
                    texts.add (toast->title + ": " + toast->message);
            return texts;
        }

        static void select (ProductsPage& page, const juce::String& name)
        {
            auto* cell = cellNamed (page, name);
            ASSERT_NE (cell, nullptr) << name;
            cell->selected = true;
            page.updateActionButtons();
        }

        FormatSettings settings;
        TestCellDelegate delegate;
        std::vector<VRCloud::Product> products;
    };

    /** Holds each job before its download until released. */
    struct HeldStart
    {
        juce::WaitableEvent release { true };

        InstallQueueOptions options()
        {
            InstallQueueOptions o;
            o.work = [this] (InstallJobPtr job, const InstallRequest& request, const InstallSequenceOptions& sequence)
            {
                while (! release.wait (10) && ! job->cancelRequested) {}
                downloadAndInstall (job, request, sequence);
            };
            return o;
        }
    };
}

TEST_F (ProductsPageInstall, InstallingAPluginPlacesItsFilesAndReportsOnce)
{
    auto page = makePage();
    select (*page, "customstrings");
    ASSERT_TRUE (page->installButton.isVisible());
    EXPECT_FALSE (page->activityLabel.isVisible()) << "hidden while nothing installs";

    page->installButton.triggerClick();
    ASSERT_TRUE (pumpUntil ([&] { return page->installQueue.size() == 1; }, 5000));

    auto* cell = cellNamed (*page, "customstrings");
    EXPECT_TRUE (cell->busy.load());
    EXPECT_FALSE (cell->selected);
    EXPECT_EQ (cell->status, ProductListRules::installing);
    EXPECT_TRUE (cell->stopButton.isVisible());
    EXPECT_TRUE (page->activityLabel.isVisible());
    EXPECT_EQ (page->activityLabel.activeCount, 1);

    ASSERT_TRUE (pumpUntil ([&] { return toastTexts (*page).size() > 0; }, 30000));
    EXPECT_EQ (toastTexts (*page), juce::StringArray { "Custom Strings: Installation complete!" });
    EXPECT_FALSE (cell->stopButton.isVisible());
    EXPECT_FALSE (page->activityLabel.isVisible());
    EXPECT_EQ (delegate.localBuilds, juce::StringArray { "Custom Strings|" + cell->row.local_key_name + "|" + cell->row.build });

    // A second later the page reads the files again and the cell moves group.
    ASSERT_TRUE (pumpUntil ([&] { return cell->status == ProductListRules::installed; }, 5000));
    EXPECT_TRUE (isInstalled (cell->row));
    for (const auto& target : cell->row.targets)
    {
        if (target.format == PluginFormats::resources || ! cell->row.offersFormat (target.format))
            continue;

        // Plugin files carry their version; an AAX bundle is a folder.
        EXPECT_TRUE (target.file.exists()) << target.file.getFullPathName();
        if (target.file.existsAsFile())
            EXPECT_EQ (versionToText (target.version), versionToText (cell->row.version)) << target.file.getFullPathName();
    }

    pumpUntil ([] { return false; }, 300);
    EXPECT_EQ (toastTexts (*page).size(), 1);
}

TEST_F (ProductsPageInstall, ARefreshDuringAnInstallReattachesTheNewCellAndTheOutcomeShowsOnce)
{
    HeldStart held;
    auto page = makePage (held.options());
    select (*page, "lumo");
    page->updateProduct();
    ASSERT_TRUE (page->installQueue.jobFor (ProductsPage::jobKey (cellNamed (*page, "lumo")->row)) != nullptr);

    // Two refreshes delete the cell that started the job, and its successor.
    refresh (*page);
    pumpUntil ([] { return false; }, 100);
    refresh (*page);

    auto* cell = cellNamed (*page, "lumo");
    ASSERT_NE (cell, nullptr);
    EXPECT_TRUE (cell->busy.load());
    EXPECT_EQ (cell->status, ProductListRules::installing);
    EXPECT_TRUE (cell->stopButton.isVisible());
    EXPECT_TRUE (page->activityLabel.isVisible());

    held.release.signal();
    ASSERT_TRUE (pumpUntil ([&] { return toastTexts (*page).size() > 0; }, 30000));
    pumpUntil ([] { return false; }, 500);
    EXPECT_EQ (toastTexts (*page), juce::StringArray { "Lumo: Installation complete!" });
    EXPECT_EQ (delegate.localBuilds.size(), 1);
    EXPECT_EQ (page->installQueue.size(), 0);
}

TEST_F (ProductsPageInstall, AJobThatEndsWhileNoCellShowsItReportsOnTheNextList)
{
    HeldStart held;
    held.release.signal();
    auto page = makePage (held.options());
    select (*page, "lumo");
    page->updateProduct();
    const auto key = ProductsPage::jobKey (cellNamed (*page, "lumo")->row);

    // The list is being fetched again: no cells while the job finishes.
    page->clearList();
    ASSERT_TRUE (pumpUntil ([&] { return page->installQueue.jobFor (key)->isComplete(); }, 30000));
    EXPECT_TRUE (toastTexts (*page).isEmpty());

    refresh (*page);
    ASSERT_TRUE (pumpUntil ([&] { return toastTexts (*page).size() > 0; }, 5000));
    EXPECT_EQ (toastTexts (*page), juce::StringArray { "Lumo: Installation complete!" });
    EXPECT_FALSE (cellNamed (*page, "lumo")->busy.load());
}

TEST_F (ProductsPageInstall, StopEndsTheDownloadWithoutAToastAndTheCellIsIdleAgain)
{
    if (runningUnderWine())
        GTEST_SKIP() << wineKeepsStalledReads;

    service.faults().stallAfterBytes (20000, demoservice::Faults::untilCleared, "/files/archives/");
    auto page = makePage();
    select (*page, "aurora10");
    page->updateProduct();

    auto* cell = cellNamed (*page, "aurora10");
    ASSERT_TRUE (pumpUntil ([&] { return cell->phase.load() == ProductListRules::InstallPhase::downloading; }, 15000));
    cell->stopButton.triggerClick();

    ASSERT_TRUE (pumpUntil ([&] { return ! cell->busy.load() && page->installQueue.size() == 0; }, 5000));
    EXPECT_FALSE (cell->stopButton.isVisible());
    EXPECT_FALSE (page->activityLabel.isVisible());
    pumpUntil ([] { return false; }, 1300);   // past the refresh a second after
    EXPECT_TRUE (toastTexts (*page).isEmpty());
    EXPECT_TRUE (delegate.localBuilds.isEmpty());
    EXPECT_EQ (cell->status, ProductListRules::notInstalled);
}

TEST_F (ProductsPageInstall, FailuresSayWhatFailedAndLeaveTheCellSelectableAgain)
{
    struct Case { const char* product; std::function<void (demoservice::Faults&)> fault; std::function<juce::String (const ProductRow&)> toast; };
    const Case cases[] = {
        { "tidevann", [] (demoservice::Faults&) {},   // the catalogue's SHA-256 is wrong
          [] (const ProductRow&) { return juce::String ("Tidevann: Install error: Download failed"); } },
        { "fjellvind2", [] (demoservice::Faults& f) { f.forceServerError ("/api/vds/getPluginResourceURL"); },
          [] (const ProductRow&) { return juce::String ("fjellvind: Something went wrong when trying to download product"); } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.product);
        service.faults().clear();
        c.fault (service.faults());
        auto page = makePage();
        auto* cell = cellNamed (*page, c.product);
        ASSERT_NE (cell, nullptr);
        select (*page, c.product);
        page->updateProduct();
        ASSERT_TRUE (pumpUntil ([&] { return toastTexts (*page).size() > 0; }, 30000));
        EXPECT_EQ (toastTexts (*page), juce::StringArray { c.toast (cell->row) });
        EXPECT_FALSE (cell->busy.load());
        EXPECT_FALSE (cell->stopButton.isVisible());
        EXPECT_TRUE (delegate.localBuilds.isEmpty());

        page->cellClicked (*cell);
        EXPECT_TRUE (cell->selected);
    }
}

TEST_F (ProductsPageInstall, ThePluginsMissingExpansionsAreOfferedAndYesInstallsThemToo)
{
    HeldStart held;
    auto page = makePage (held.options());
    select (*page, "mysynth");
    page->installSelected();

    const auto texts = toastTexts (*page);
    ASSERT_EQ (texts, juce::StringArray { "Also install expansion for this plugin?: My Synth\n" });
    EXPECT_TRUE (page->installQueue.size() == 0) << "nothing starts before the answer";

    for (auto* child : page->getChildren())
        if (auto* toast = dynamic_cast<Toast*> (child))
            toast->button1->triggerClick();

    ASSERT_TRUE (pumpUntil ([&] { return page->installQueue.size() == 2; }, 15000));
    EXPECT_TRUE (cellNamed (*page, "mysynth")->busy.load());
    EXPECT_TRUE (cellNamed (*page, "winterpads")->busy.load());
    EXPECT_EQ (page->activityLabel.activeCount, 2);
    page->installQueue.stopAll();
    held.release.signal();
    ASSERT_TRUE (pumpUntil ([&] { return page->installQueue.size() == 0; }, 15000));
}
