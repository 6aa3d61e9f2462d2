// The archive download against the demo service's real archives on
// loopback: resuming, the server's faults, verification and stopping.

#include "install/ArchiveDownload.h"
#include "install/InstallSequence.h"
#include "install/WorkFolder.h"
#include "platform/WorkInFlight.h"
#include "support/DemoServiceFixture.h"

#include <chrono>
#include <cstdio>
#include <future>
#include <thread>

using namespace std::chrono_literals;

namespace
{
    /** The product's waits, shortened so a stall costs seconds rather than half a minute. */
    ArchiveDownloadOptions shortWaits()
    {
        ArchiveDownloadOptions options;
        options.stallWaitMs = 1000;
        options.stallPauseMs = 50;
        return options;
    }

    juce::MemoryBlock bytesOf (const juce::File& file)
    {
        juce::MemoryBlock bytes;
        file.loadFileAsData (bytes);
        return bytes;
    }

    juce::MemoryBlock firstBytes (const juce::MemoryBlock& bytes, size_t count)
    {
        return juce::MemoryBlock (bytes.getData(), juce::jmin (count, bytes.getSize()));
    }

    /** One product's archive as the service serves it and the catalogue describes it. */
    struct ServedArchive
    {
        juce::URL url;
        juce::MemoryBlock bytes;
        juce::int64 filesize = 0;
        juce::String sha256;
    };

    class ArchiveDownloadService : public DemoServiceFixture
    {
    protected:
        ServedArchive served (const juce::String& product)
        {
            ServedArchive archive;
            const juce::File file (juce::String (service.archiveFile (product.toStdString()).string()));
            archive.url = juce::URL (juce::String (service.origin()) + "/files/archives/" + file.getFileName());
            archive.bytes = bytesOf (file);

            const auto catalogue = juce::JSON::parse (juce::String (service.catalogueJson (service.staffAccount().email)));

            for (const auto& entry : *catalogue.getArray())
            {
                if (entry["name"].toString() == product)
                {
                    archive.filesize = (juce::int64) entry["filesize"];
                    archive.sha256 = entry["sha256"].toString();
                }
            }

            EXPECT_EQ (archive.filesize, (juce::int64) archive.bytes.getSize()) << product;
            EXPECT_EQ (archive.sha256.length(), 64) << product;
            return archive;
        }

        /** The Range header of each archive request, in order; empty where none was sent. */
        std::vector<std::string> rangesAsked()
        {
            std::vector<std::string> ranges;

            for (const auto& request : service.requests())
                if (request.path.rfind ("/files/archives/", 0) == 0)
                    ranges.push_back (request.header ("Range"));

            return ranges;
        }

        std::vector<int> statusesAnswered()
        {
            std::vector<int> statuses;

            for (const auto& request : service.requests())
                if (request.path.rfind ("/files/archives/", 0) == 0)
                    statuses.push_back (request.status);

            return statuses;
        }

        juce::File archiveFile() const { return sandbox.root().getChildFile ("work/vds.zip"); }

        /** A clean service with this case's fault, and an empty work folder. */
        bool startCase (const std::function<void (demoservice::Faults&)>& fault)
        {
            service.faults().clear();
            service.clearRequests();
            archiveFile().getParentDirectory().deleteRecursively();

            if (! archiveFile().getParentDirectory().createDirectory())
                return false;

            fault (service.faults());
            return true;
        }
    };

    std::string range (size_t from) { return "bytes=" + std::to_string (from) + "-"; }
}

TEST (ArchiveDownloadOptions, DefaultsAreTheProductsWaitsAndLimits)
{
    const ArchiveDownloadOptions defaults;
    EXPECT_EQ (defaults.bufferBytes, 131072);
    EXPECT_EQ (defaults.maxAttempts, 12);
    EXPECT_EQ (defaults.connectTimeoutMs, 60000);
    EXPECT_EQ (defaults.maxRedirects, 5);
    EXPECT_EQ (defaults.stallWaitMs, 30000);
    EXPECT_EQ (defaults.stallPauseMs, 5000);
}

TEST_F (ArchiveDownloadService, EndsWithTheServedArchiveWhateverTheServerDid)
{
    struct Case
    {
        const char* what;
        std::function<void (demoservice::Faults&)> fault;
        std::function<juce::MemoryBlock (const juce::MemoryBlock& archive)> onDiskBefore;   // none when empty
        std::function<std::vector<std::string> (size_t size)> ranges;
        std::vector<int> statuses;
    };

    const auto nothing = [] (demoservice::Faults&) {};
    const auto start1000 = [] (const juce::MemoryBlock& archive) { return firstBytes (archive, 1000); };
    const char* const stalled = "connection stalled at 1000 bytes";

    const Case cases[] {
        { "connection dropped at 1500 bytes",
          [] (demoservice::Faults& f) { f.dropAfterBytes (1500, "/files/archives/", 1); }, {},
          [] (size_t) { return std::vector<std::string> { "", range (1500) }; }, { 200, 206 } },
        { stalled,
          [] (demoservice::Faults& f) { f.stallAfterBytes (1000, demoservice::Faults::untilCleared, "/files/archives/", 1); }, {},
          [] (size_t) { return std::vector<std::string> { "", range (1000) }; }, { 200, 206 } },
        { "range ignored: the whole file again, written from its start",
          [] (demoservice::Faults& f) { f.setIgnoreRange (true); }, start1000,
          [] (size_t) { return std::vector<std::string> { range (1000) }; }, { 200 } },
        { "416 while the file is already complete",
          nothing, [] (const juce::MemoryBlock& archive) { return archive; },
          [] (size_t size) { return std::vector<std::string> { range (size) }; }, { 416 } },
        { "416 while the file is longer than the archive: started again",
          nothing,
          [] (const juce::MemoryBlock& archive) { auto longer = archive; longer.append ("junk", 4); return longer; },
          [] (size_t size) { return std::vector<std::string> { range (size + 4), "" }; }, { 416, 200 } },
        { "206 that does not continue the file: nothing written from it",
          [] (demoservice::Faults& f) { f.forceStatus ("/files/archives/", 206, "<html>not the archive</html>", "text/html", 1); },
          start1000,
          [] (size_t) { return std::vector<std::string> { range (1000), range (1000) }; }, { 206, 206 } },
    };

    const auto archive = served ("mysynth");
    ASSERT_GT (archive.bytes.getSize(), 1500u);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);

        // Only the read time-out ends the stalled request.
        if (c.what == stalled && runningUnderWine())
        {
            std::printf ("skipped under Wine: %s: %s\n", stalled, wineKeepsStalledReads);
            continue;
        }

        ASSERT_TRUE (startCase (c.fault));

        if (c.onDiskBefore)
        {
            const auto before = c.onDiskBefore (archive.bytes);
            ASSERT_TRUE (archiveFile().replaceWithData (before.getData(), before.getSize()));
        }

        InstallJob job;
        std::vector<double> progress;
        job.onProgress = [&progress] (double fraction, InstallPhase phase)
        {
            EXPECT_EQ (phase, InstallPhase::downloading);
            progress.push_back (fraction);
        };

        EXPECT_TRUE (downloadArchive (job, archive.url, archiveFile(), archive.filesize, archive.sha256, shortWaits()));
        EXPECT_TRUE (bytesOf (archiveFile()) == archive.bytes) << archiveFile().getSize() << " bytes on disk";
        EXPECT_EQ (rangesAsked(), c.ranges (archive.bytes.getSize()));
        EXPECT_EQ (statusesAnswered(), c.statuses);
        ASSERT_FALSE (progress.empty());
        EXPECT_EQ (progress.front(), 0.0);
    }
}

TEST_F (ArchiveDownloadService, AFailedDownloadLeavesNoArchiveAndSaysWhy)
{
    struct Case
    {
        const char* what;
        const char* product;
        std::function<void (demoservice::Faults&)> fault;
        juce::int64 filesizeOffBy;
        const char* logSays;
        size_t requests;
    };

    const Case cases[] {
        { "500 with an HTML page, every time", "mysynth",
          [] (demoservice::Faults& f) { f.forceServerError ("/files/archives/"); }, 0, "HTTP 500", 12 },
        { "the catalogue's sha256 is wrong", "tidevann",
          [] (demoservice::Faults&) {}, 0, "SHA-256", 1 },
        { "the catalogue's filesize is one byte short", "mysynth",
          [] (demoservice::Faults&) {}, -1, "the catalogue gives", 1 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ASSERT_TRUE (startCase (c.fault));

        const auto archive = served (c.product);
        const auto logBefore = logSinceStart().length();

        InstallJob job;
        EXPECT_FALSE (downloadArchive (job, archive.url, archiveFile(), archive.filesize + c.filesizeOffBy,
                                       archive.sha256, shortWaits()));
        EXPECT_FALSE (archiveFile().exists());
        EXPECT_EQ (rangesAsked().size(), c.requests);
        EXPECT_TRUE (logSinceStart().substring (logBefore).contains (c.logSays)) << logSinceStart().substring (logBefore);
    }
}

TEST_F (ArchiveDownloadService, AResumedArchivesSha256CoversTheBytesThatWereAlreadyOnDisk)
{
    struct Case
    {
        const char* what;
        bool damageTheStart;
        std::function<void (demoservice::Faults&)> fault;
        std::vector<std::string> ranges;
        bool ok;
    };

    // The download hashes as it writes; bytes an earlier run left must be
    // hashed from the file, not taken on trust.
    const Case cases[] {
        { "an intact start, then a drop", false,
          [] (demoservice::Faults& f) { f.dropAfterBytes (1500, "/files/archives/", 1); },
          { range (1000), range (2500) }, true },
        { "a damaged start, continued", true, [] (demoservice::Faults&) {}, { range (1000) }, false },
        { "a damaged start, written over by a server that ignores the range", true,
          [] (demoservice::Faults& f) { f.setIgnoreRange (true); }, { range (1000) }, true },
    };

    const auto archive = served ("mysynth");
    ASSERT_GT (archive.bytes.getSize(), 2500u);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ASSERT_TRUE (startCase (c.fault));

        auto start = firstBytes (archive.bytes, 1000);

        if (c.damageTheStart)
            start[500] = (char) (start[500] ^ 0x01);

        ASSERT_TRUE (archiveFile().replaceWithData (start.getData(), start.getSize()));
        const auto logBefore = logSinceStart().length();

        InstallJob job;
        EXPECT_EQ (downloadArchive (job, archive.url, archiveFile(), archive.filesize, archive.sha256, shortWaits()), c.ok);
        EXPECT_EQ (rangesAsked(), c.ranges);

        if (c.ok)
        {
            EXPECT_TRUE (bytesOf (archiveFile()) == archive.bytes) << archiveFile().getSize() << " bytes on disk";
        }
        else
        {
            EXPECT_FALSE (archiveFile().exists());
            EXPECT_TRUE (logSinceStart().substring (logBefore).contains ("SHA-256")) << logSinceStart().substring (logBefore);
        }
    }
}

TEST_F (ArchiveDownloadService, TheCancelFlagEndsTheDownloadWithinOneRead)
{
    const auto archive = served ("aurora10");
    ASSERT_TRUE (archiveFile().getParentDirectory().createDirectory());

    InstallJob job;
    job.onProgress = [&job] (double fraction, InstallPhase) { if (fraction > 0.0) job.cancelRequested = true; };

    EXPECT_TRUE (downloadArchive (job, archive.url, archiveFile(), archive.filesize, archive.sha256, shortWaits()));
    EXPECT_LT (archiveFile().getSize(), archive.filesize);
    EXPECT_EQ (rangesAsked().size(), 1u);
}

TEST_F (ArchiveDownloadService, StopOrQuitDuringASilentDownloadEndsTheSequenceAsStopped)
{
    if (runningUnderWine())
        GTEST_SKIP() << wineKeepsStalledReads;

    struct Case
    {
        const char* what;
        std::function<void (InstallJob&)> stop;
    };

    const Case cases[] {
        { "the Stop button", [] (InstallJob& job) { job.requestStop(); } },
        { "quitting",        [] (InstallJob&) { EXPECT_EQ (WorkInFlight::stopAll (WorkInFlight::quitTimeoutMs), juce::StringArray()); } },
    };

    const auto archive = served ("aurora10");

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        service.faults().clear();
        // The connection goes silent for good, past the first progress report;
        // with no stall limit only a stop can end it.
        service.faults().stallAfterBytes (300000, demoservice::Faults::untilCleared, "/files/archives/");

        auto job = std::make_shared<InstallJob>();
        job->markStarted();

        InstallRequest request;
        request.url = archive.url;
        request.expectedSize = archive.filesize;
        request.expectedSha256 = archive.sha256;

        InstallSequenceOptions options;
        options.download = [&archive] (InstallJob& j, const juce::URL& url, const juce::File& file, juce::int64 size)
        {
            auto noStallLimit = shortWaits();
            noStallLimit.stallWaitMs = 0;
            return downloadArchive (j, url, file, size, archive.sha256, noStallLimit);
        };

        auto sequence = std::async (std::launch::async, [&] { downloadAndInstall (job, request, options); });
        ASSERT_TRUE (waitWithoutPumping ([&] { return job->progress() > 0.0f; }));
        const auto workFolder = WorkFolder::folderFor (workFolderCounter.load());
        ASSERT_TRUE (workFolder.getChildFile ("vds.zip").existsAsFile());

        c.stop (*job);

        ASSERT_EQ (sequence.wait_for (10s), std::future_status::ready);
        ASSERT_TRUE (job->isComplete());
        EXPECT_TRUE (job->outcome().ok);
        EXPECT_TRUE (job->outcome().stopped);
        EXPECT_EQ (job->outcome().message, "stopped");
        EXPECT_FALSE (workFolder.exists());
        EXPECT_EQ (WorkInFlight::count(), 0);
    }
}

TEST_F (ArchiveDownloadService, TheSequencesOwnDownloadChecksTheCataloguesSha256)
{
    const auto archive = served ("tidevann");

    auto job = std::make_shared<InstallJob>();
    job->markStarted();

    InstallRequest request;
    request.url = archive.url;
    request.contents = { "{vst3}/Tidevann.vst3" };
    request.expectedSize = archive.filesize;
    request.expectedSha256 = archive.sha256;

    std::thread worker ([&] { downloadAndInstall (job, request, {}); });
    worker.join();

    ASSERT_TRUE (job->isComplete());
    EXPECT_FALSE (job->outcome().ok);
    EXPECT_FALSE (job->outcome().stopped);
    EXPECT_EQ (job->outcome().message, "Download failed");
    EXPECT_EQ (rangesAsked().size(), 1u);
    EXPECT_FALSE (WorkFolder::folderFor (workFolderCounter.load()).getChildFile ("vds.zip").exists());
    EXPECT_TRUE (logSinceStart().contains ("SHA-256")) << logSinceStart();
}
