// User manuals from the demo service over loopback: saved in the sandbox's
// Documents folder and handed to a recording opener instead of a viewer.

#include "../ui/pages/ProductPageTesting.h"

#include "cloud/ProductList.h"
#include "install/ManualDownload.h"
#include "log/DiagnosticLog.h"
#include "platform/FileOpener.h"
#include "platform/Locations.h"
#include "platform/WorkInFlight.h"
#include "support/DemoServiceFixture.h"

#include <cstdio>
#include <mutex>

namespace
{
    juce::MemoryBlock bytesOf (const juce::File& file)
    {
        juce::MemoryBlock bytes;
        file.loadFileAsData (bytes);
        return bytes;
    }

    class ManualDownloadService : public DemoServiceFixture
    {
    protected:
        void SetUp() override
        {
            DemoServiceFixture::SetUp();
            token = demoToken();
        }

        juce::MemoryBlock served (const juce::String& product)
        {
            const auto bytes = bytesOf (juce::File (juce::String (service.manualFile (product.toStdString()).string())));
            EXPECT_GT (bytes.getSize(), 400u) << product;
            return bytes;
        }

        static juce::File documents() { return Locations::userDocuments(); }

        /** Every file below a folder, hidden ones included, by full path. */
        static juce::StringArray filesBelow (const juce::File& folder)
        {
            juce::StringArray found;

            for (const auto& entry : juce::RangedDirectoryIterator (folder, true, "*", juce::File::findFiles))
                if (entry.getFile() != generalLogWriter().getFile())
                    found.add (entry.getFile().getFullPathName());

            found.sort (false);
            return found;
        }

        /** Waits until no manual thread runs any more. */
        static bool allThreadsEnded() { return waitWithoutPumping ([] { return WorkInFlight::count() == 0; }); }

        juce::StringArray openedFiles()
        {
            const std::lock_guard<std::mutex> guard (openedLock);
            return opened;
        }

        void forgetOpened()
        {
            const std::lock_guard<std::mutex> guard (openedLock);
            opened.clear();
        }

        juce::String token;

    private:
        std::mutex openedLock;
        juce::StringArray opened;

        // Files reach this instead of a viewer, from the manual's thread.
        FileOpener::ScopedHandler recorder { [this] (const juce::File& file)
        {
            const std::lock_guard<std::mutex> guard (openedLock);
            opened.add (file.getFullPathName());
            return true;
        } };
    };
}

TEST_F (ManualDownloadService, TheButtonSavesTheServedManualInDocumentsOverAnOldOneAndOpensItOnce)
{
    const auto rows = VRCloud::prepareProductRows (fetchCatalogue (token), defaultFormatSettings());
    const auto row = std::find_if (rows.begin(), rows.end(), [] (const ProductRow& r) { return r.name == "mysynth"; });
    ASSERT_NE (row, rows.end());

    TestCellDelegate delegate;
    delegate.token = token;
    ProductsPage::Cell cell (*row);
    cell.cellDelegate = &delegate;
    cell.setBounds (0, 0, 377, 103);
    ASSERT_TRUE (cell.manualButton.isVisible());

    // An earlier download of the same manual is written again.
    const auto manual = documents().getChildFile ("My Synth manual.pdf");
    ASSERT_TRUE (documents().createDirectory());
    ASSERT_TRUE (manual.replaceWithText ("an older manual"));

    cell.manualButton.triggerClick();
    ASSERT_TRUE (pumpUntil ([this] { return ! openedFiles().isEmpty(); }, 30000));
    ASSERT_TRUE (allThreadsEnded());

    EXPECT_TRUE (bytesOf (manual) == served ("mysynth"));
    EXPECT_EQ (openedFiles(), juce::StringArray { manual.getFullPathName() });
    EXPECT_EQ (filesBelow (documents()), juce::StringArray { manual.getFullPathName() }) << "no temporary file is left";
    EXPECT_EQ (service.requestsTo ("/files/manuals/mysynth.pdf").size(), 1u);

    const auto log = logSinceStart();
    EXPECT_TRUE (log.contains ("getManualResourceURL url = " + juce::String (service.origin()) + "/files/manuals/mysynth.pdf")) << log;
    EXPECT_TRUE (log.contains ("downloadManual result = 1")) << log;
}

TEST_F (ManualDownloadService, AFailedDownloadLeavesNoFileOpensNothingKeepsAGoodManualAndSaysWhy)
{
    struct Case
    {
        const char* what;
        std::function<void (demoservice::Faults&)> fault;
        bool goodManualBefore;
        const char* logSays;
    };

    const auto notFound = [] (demoservice::Faults& f) { f.forceStatus ("/files/manuals/", 404, "<html>Not found</html>", "text/html", 1); };
    const auto dropped = [] (demoservice::Faults& f) { f.dropAfterBytes (400, "/files/manuals/", 1); };

    const Case cases[] {
        { "404 with an error page",                       notFound, false, "download manual failed: HTTP 404" },
        { "404 with an error page, a good manual before", notFound, true,  "download manual failed: HTTP 404" },
        { "connection dropped after 400 bytes",           dropped,  false, "download manual failed: " },
        { "dropped, a good manual before",                dropped,  true,  "download manual failed: " },
    };

    const auto manual = ManualDownload::fileFor ("Lumo");
    const auto good = served ("lumo");

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        service.faults().clear();
        ASSERT_TRUE (documents().deleteRecursively());

        if (c.goodManualBefore)
        {
            ASSERT_TRUE (documents().createDirectory());
            ASSERT_TRUE (manual.replaceWithData (good.getData(), good.getSize()));
        }

        c.fault (service.faults());
        const auto logBefore = logSinceStart().length();

        const auto job = ManualDownload::start ("lumo", "Lumo", token);
        ASSERT_NE (job, nullptr);
        ASSERT_TRUE (allThreadsEnded());

        EXPECT_TRUE (job->isComplete());
        EXPECT_FALSE (job->outcome().ok);
        EXPECT_TRUE (openedFiles().isEmpty());
        EXPECT_EQ (filesBelow (documents()), c.goodManualBefore ? juce::StringArray { manual.getFullPathName() } : juce::StringArray());

        if (c.goodManualBefore)
        {
            EXPECT_TRUE (bytesOf (manual) == good) << manual.getSize() << " bytes";
        }

        const auto log = logSinceStart().substring (logBefore);
        EXPECT_TRUE (log.contains (c.logSays)) << log;
        EXPECT_TRUE (log.contains ("downloadManual result = 0")) << log;
    }
}

TEST_F (ManualDownloadService, ATitleThatWouldLeaveDocumentsBecomesAPlainFileNameThereAndTheLogSaysSo)
{
    struct Case
    {
        const char* title;
        const char* plainName;
    };

    const Case cases[] {
        { "../Escaped",        ".._Escaped manual.pdf" },
        { "..\\..\\Escaped",   ".._.._Escaped manual.pdf" },
        { "C:\\Escaped",       "C__Escaped manual.pdf" },
        { "/tmp/Escaped",      "_tmp_Escaped manual.pdf" },
        { "Sub/Folder",        "Sub_Folder manual.pdf" },
    };

    const auto manual = served ("kvistcomp");

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.title);
        ASSERT_TRUE (documents().deleteRecursively());
        const auto before = filesBelow (sandbox.root());
        const auto logBefore = logSinceStart().length();

        ASSERT_NE (ManualDownload::start ("kvistcomp", c.title, token), nullptr);
        ASSERT_TRUE (allThreadsEnded());

        // The only file written anywhere is the manual, inside Documents.
        const auto saved = documents().getChildFile (c.plainName);
        auto added = filesBelow (sandbox.root());

        for (const auto& path : before)
            added.removeString (path);

        EXPECT_EQ (added, juce::StringArray { saved.getFullPathName() });
        EXPECT_TRUE (bytesOf (saved) == manual);
        EXPECT_FALSE (documents().getChildFile (juce::String (c.title) + " manual.pdf").exists());
        EXPECT_EQ (openedFiles(), juce::StringArray { saved.getFullPathName() });

        const auto log = logSinceStart().substring (logBefore);
        EXPECT_TRUE (log.contains ("manual file name <" + juce::String (c.plainName) + "> made plain from the title <"
                                   + juce::String (c.title) + ">")) << log;

        forgetOpened();
    }
}

TEST_F (ManualDownloadService, WithoutANameOrAnAddressNothingIsFetchedOrOpened)
{
    struct Case
    {
        const char* name;
        size_t addressRequests;
    };

    // Aurora 10 has no manual: the service answers 404 and gives no address.
    const Case cases[] { { "", 0 }, { "aurora10", 1 } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        service.clearRequests();

        EXPECT_EQ (ManualDownload::start (c.name, "Aurora 10", token), nullptr);
        EXPECT_EQ (service.requestsTo ("/api/vds/getManualResourceURL").size(), c.addressRequests);
        EXPECT_EQ (service.requests().size(), c.addressRequests) << "no manual is fetched";
        EXPECT_EQ (WorkInFlight::count(), 0);
    }

    EXPECT_TRUE (filesBelow (documents()).isEmpty());
    EXPECT_TRUE (openedFiles().isEmpty());
    EXPECT_TRUE (logSinceStart().contains ("getManualResourceURL url = \r\n")) << logSinceStart();
}

TEST_F (ManualDownloadService, QuittingStopsASilentDownloadWithoutAFileOrAnOpen)
{
    if (runningUnderWine())
        GTEST_SKIP() << wineKeepsStalledReads;

    service.faults().stallAfterBytes (400, demoservice::Faults::untilCleared, "/files/manuals/");
    const auto job = ManualDownload::start ("lumo", "Lumo", token);
    ASSERT_NE (job, nullptr);

    // The first bytes have arrived; then the connection goes silent.
    ASSERT_TRUE (waitWithoutPumping ([&job] { return job->progress() > 0.0f; }));
    EXPECT_EQ (filesBelow (documents()).size(), 1) << "the temporary file";
    EXPECT_EQ (WorkInFlight::stopAll (WorkInFlight::quitTimeoutMs), juce::StringArray());

    EXPECT_TRUE (job->isComplete());
    EXPECT_FALSE (job->outcome().ok);
    EXPECT_TRUE (filesBelow (documents()).isEmpty());
    EXPECT_TRUE (openedFiles().isEmpty());
    EXPECT_TRUE (logSinceStart().contains ("download manual stopped")) << logSinceStart();
}
