#include "install/InstallSequence.h"
#include "install/WorkFolder.h"
#include "support/LogCapture.h"
#include "support/TestArchives.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <thread>

TEST (InstallSequenceLinux, DownloadUnpackPlaceThenOneCompletionOnTheMessageThread)
{
    ScopedSandbox sandbox;
    const auto root = sandbox.root();
    const auto source = root.getChildFile ("served.zip");
    const auto vst3 = noiseBytes (9000, 1);
    ASSERT_TRUE (writeTestZip (source, { { "MySynth.vst3", vst3 }, textEntry ("Factory Presets/Warm.preset", "warm") }));

    InstallRequest request;
    request.contents = { "{commonfiles}/MySynth.vst3", "{commonappdata}/My Synth/Factory Presets/Warm.preset",
                         "{commonappdata}/My Synth/Factory Presets/Missing.preset" };
    request.settings.path[PluginFormats::vst3] = root.getChildFile ("VST3").getFullPathName();

    InstallSequenceOptions options;
    options.completionDelayMs = 10;
    options.download = [&] (InstallJob& job, const juce::URL&, const juce::File& archive, juce::int64)
    {
        job.reportProgress (1.0, InstallPhase::downloading);
        return source.copyFileTo (archive);
    };

    auto job = std::make_shared<InstallJob>();
    std::atomic<int> calls { 0 };
    std::atomic<bool> onMessageThread { false };
    job->onDownloadAndInstallCompletion = [&] (bool, bool, const juce::String&)
    {
        ++calls;
        onMessageThread = juce::MessageManager::getInstance()->isThisTheMessageThread();
    };
    job->markStarted();

    LogCapture log;
    std::thread worker ([&] { downloadAndInstall (job, request, options); });
    worker.join();

    ASSERT_TRUE (pumpUntil ([&] { return job->isComplete(); }));
    pumpUntil ([] { return false; }, 100);   // nothing more arrives

    const auto workFolder = WorkFolder::folderFor (workFolderCounter.load());
    const auto missing = "   3.src file doesn't exist: " + workFolder.getChildFile ("Factory Presets/Missing.preset").getFullPathName();

    EXPECT_EQ (calls.load(), 1);
    EXPECT_TRUE (onMessageThread.load());
    EXPECT_TRUE (job->outcome().ok);
    EXPECT_FALSE (job->outcome().stopped);
    EXPECT_EQ (job->outcome().message, missing);
    EXPECT_EQ (job->phase(), InstallPhase::installing);
    EXPECT_FLOAT_EQ (job->progress(), 1.0f);

    juce::MemoryBlock placed;
    root.getChildFile ("VST3/MySynth.vst3").loadFileAsData (placed);
    EXPECT_EQ (placed, vst3);
    EXPECT_EQ (root.getChildFile ("ProgramData/Vamrelund/My Synth/Factory Presets/Warm.preset").loadFileAsString(), "warm");
    EXPECT_TRUE (log.contains ("vamrFolderFile.getFullPathName().startsWith  " + workFolder.getFullPathName()));
    EXPECT_TRUE (workFolder.getChildFile ("vds.zip").existsAsFile());   // kept until the number comes round again
}
