#include "install/InstallSequence.h"
#include "install/WorkFolder.h"
#include "platform/UnpackTool.h"
#include "support/LogCapture.h"
#include "support/TestArchives.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
    struct Ending
    {
        const char* name;
        std::function<bool (InstallJob&, const juce::File& archive)> download;
        bool unpackToolMissing;
        InstallOutcome expected;
        const char* logLine;
        bool workFolderKept;
    };
}

TEST (InstallSequence, EachEarlyEndingDeliversItsOutcomeOnce)
{
    const Ending endings[] = {
        { "download failed",
          [] (InstallJob&, const juce::File&) { return false; },
          false, { false, false, "Download failed" }, "download failed", true },
        { "stopped while downloading",
          [] (InstallJob& job, const juce::File& archive) { archive.replaceWithText ("part"); job.cancelRequested = true; return true; },
          false, { true, true, "stopped" }, nullptr, false },
        { "unpacking tool missing",
          [] (InstallJob&, const juce::File& archive) { return writeTestZip (archive, { textEntry ("a.txt", "a") }); },
          true, { false, false, "Unzip/installation failed" }, "Unzip/installation failed", true },
    };

    for (const auto& ending : endings)
    {
        SCOPED_TRACE (ending.name);
        ScopedSandbox sandbox;
        LogCapture log;
        std::unique_ptr<UnpackTool::ScopedLauncher> missingTool;
        if (ending.unpackToolMissing)
            missingTool = std::make_unique<UnpackTool::ScopedLauncher> (juce::StringArray { "no-such-unpacker-vamr" });

        auto job = std::make_shared<InstallJob>();
        int calls = 0;
        job->onDownloadAndInstallCompletion = [&calls] (bool, bool, const juce::String&) { ++calls; };
        job->markStarted();

        juce::File archiveSeen;
        InstallSequenceOptions options;
        options.download = [&] (InstallJob& j, const juce::URL&, const juce::File& archive, juce::int64 expectedSize)
        {
            EXPECT_FALSE (j.cancelRequested.load());
            EXPECT_EQ (expectedSize, 1234);
            archiveSeen = archive;
            return ending.download (j, archive);
        };

        InstallRequest request;
        request.contents = { "{commonfiles}/A.vst3" };
        request.expectedSize = 1234;

        std::thread worker ([&] { downloadAndInstall (job, request, options); });
        worker.join();

        const auto workFolder = WorkFolder::folderFor (workFolderCounter.load());
        EXPECT_EQ (archiveSeen, workFolder.getChildFile ("vds.zip"));
        EXPECT_TRUE (log.contains ("Vamrfolder " + workFolder.getFullPathName() + juce::File::getSeparatorString()));

        ASSERT_TRUE (job->isComplete());
        EXPECT_EQ (calls, 1);
        EXPECT_FALSE (job->isBusy());
        EXPECT_EQ (job->outcome().ok, ending.expected.ok);
        EXPECT_EQ (job->outcome().stopped, ending.expected.stopped);
        EXPECT_EQ (job->outcome().message, ending.expected.message);
        if (ending.logLine != nullptr)
        {
            EXPECT_TRUE (log.contains (ending.logLine));
        }
        EXPECT_EQ (workFolder.isDirectory(), ending.workFolderKept);
    }
}

TEST (InstallSequence, AnEarlierRunsWorkFolderIsClearedAndTheCompletionWaitsTwoSecondsByDefault)
{
    ScopedSandbox sandbox;
    const auto next = WorkFolder::folderFor (workFolderCounter.load() + 1);
    ASSERT_TRUE (writeBytes (next.getChildFile ("left over/old.bin"), noiseBytes (10, 1)));

    auto job = std::make_shared<InstallJob>();
    InstallSequenceOptions options;
    options.download = [&] (InstallJob&, const juce::URL&, const juce::File&, juce::int64)
    {
        EXPECT_EQ (filesBelow (next), juce::StringArray());
        return false;
    };

    std::thread worker ([&] { downloadAndInstall (job, {}, options); });
    worker.join();

    EXPECT_TRUE (job->isComplete());
    EXPECT_EQ (InstallSequenceOptions().completionDelayMs, 2000);
}

TEST (InstallSequence, AStopBeforeTheSequenceStartsEndsItStoppedWithoutDownloading)
{
    ScopedSandbox sandbox;
    auto job = std::make_shared<InstallJob>();
    job->markStarted();
    job->requestStop();   // pressed just as the job took its slot

    bool downloaded = false;
    InstallSequenceOptions options;
    options.download = [&] (InstallJob&, const juce::URL&, const juce::File&, juce::int64) { return downloaded = true; };

    std::thread worker ([&] { downloadAndInstall (job, {}, options); });
    worker.join();

    EXPECT_FALSE (downloaded);
    ASSERT_TRUE (job->isComplete());
    EXPECT_TRUE (job->outcome().ok);
    EXPECT_TRUE (job->outcome().stopped);
    EXPECT_EQ (job->outcome().message, "stopped");
}
