#include "install/ArchiveUnpack.h"
#include "platform/UnpackTool.h"
#include "support/LogCapture.h"
#include "support/TestArchives.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <mutex>

namespace
{
    /** Progress reports of a job, as the worker made them. */
    struct Reports
    {
        std::mutex lock;
        std::vector<std::pair<double, InstallPhase>> list;

        void attach (InstallJob& job)
        {
            job.onProgress = [this] (double fraction, InstallPhase phase)
            {
                const std::lock_guard<std::mutex> guard (lock);
                list.emplace_back (fraction, phase);
            };
        }
    };

    int runTool (const juce::StringArray& command)
    {
        juce::ChildProcess tool;
        if (! tool.start (command, 0))
            return -1;
        tool.waitForProcessToFinish (30000);
        return (int) tool.getExitCode();
    }

    juce::MemoryBlock bytesOf (const juce::File& file)
    {
        juce::MemoryBlock block;
        file.loadFileAsData (block);
        return block;
    }
}

TEST (ArchiveUnpackLinux, UnpacksARealArchiveWithProgressFromBsdtarsListing)
{
    ScopedSandbox sandbox;
    const auto work = sandbox.root().getChildFile ("downloads/2");
    const auto archive = work.getChildFile ("vds.zip");
    const auto nokken = juce::String::fromUTF8 ("Presets/Winter Pads/N\xc3\xb8kken.preset");
    const std::vector<TestArchiveEntry> entries { { "MySynth.dll", noiseBytes (70000, 1) },
                                                  textEntry ("Factory Presets/Warm.preset", "warm"),
                                                  textEntry (nokken, "non-ASCII names survive") };
    ASSERT_TRUE (writeTestZip (archive, entries));

    InstallJob job;
    Reports reports;
    reports.attach (job);
    LogCapture log;

    ASSERT_TRUE (unzipArchive (job, archive));

    for (const auto& entry : entries)
        EXPECT_EQ (bytesOf (work.getChildFile (entry.path)), entry.bytes) << entry.path;

    EXPECT_TRUE (log.contains ("Unzip, counting files..."));
    EXPECT_TRUE (log.contains ("Will unzip num files: 3"));

    ASSERT_FALSE (reports.list.empty());
    double previous = 0.0;
    for (const auto& [fraction, phase] : reports.list)
    {
        EXPECT_EQ (phase, InstallPhase::installing);
        EXPECT_GE (fraction, previous);
        previous = fraction;
    }
    EXPECT_DOUBLE_EQ (reports.list.back().first, 1.0);
}

TEST (ArchiveUnpackLinux, HostileEntriesNeverLandOutsideTheWorkFolder)
{
    ScopedSandbox sandbox;
    const auto root = sandbox.root();
    const auto outside = root.getChildFile ("outside");
    const auto stage = root.getChildFile ("stage");
    const auto work = root.getChildFile ("downloads/2");
    const auto absoluteTarget = root.getChildFile ("absolute/evil.txt");
    ASSERT_TRUE (outside.createDirectory());
    ASSERT_TRUE (work.createDirectory());

    // Staged as plain files and a real symbolic link, renamed into hostile
    // entries while bsdtar writes the archive (-P keeps them as written).
    ASSERT_TRUE (writeBytes (stage.getChildFile ("up.txt"), noiseBytes (10, 1)));
    ASSERT_TRUE (writeBytes (stage.getChildFile ("abs.txt"), noiseBytes (10, 2)));
    ASSERT_TRUE (writeBytes (stage.getChildFile ("real/evil.txt"), noiseBytes (10, 3)));
    ASSERT_TRUE (writeBytes (stage.getChildFile ("ok.txt"), noiseBytes (10, 4)));
    ASSERT_TRUE (outside.createSymbolicLink (stage.getChildFile ("link"), true));

    const auto archive = work.getChildFile ("vds.zip");
    ASSERT_EQ (runTool ({ "env", "LC_ALL=C.UTF-8", "bsdtar", "-cf", archive.getFullPathName(), "--format", "zip", "-P",
                          "-C", stage.getFullPathName(),
                          "-s", ",^up\\.txt$,../../escape.txt,",
                          "-s", ",^abs\\.txt$," + absoluteTarget.getFullPathName() + ",",
                          "-s", ",^real/evil,link/evil,",
                          "up.txt", "abs.txt", "link", "real/evil.txt", "ok.txt" }), 0);

    InstallJob job;
    ASSERT_TRUE (unzipArchive (job, archive));

    EXPECT_TRUE (work.getChildFile ("ok.txt").existsAsFile());
    EXPECT_EQ (filesBelow (outside), juce::StringArray());
    EXPECT_FALSE (absoluteTarget.exists());
    EXPECT_FALSE (root.getChildFile ("escape.txt").exists());
    EXPECT_FALSE (root.getChildFile ("downloads/escape.txt").exists());
    EXPECT_EQ (root.getChildFile ("downloads").getNumberOfChildFiles (juce::File::findFilesAndDirectories), 1);
    EXPECT_EQ (root.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 3);   // outside, stage, downloads
}

TEST (ArchiveUnpackLinux, UnzipStyleOutputCountsAndAMissingToolFails)
{
    ScopedSandbox sandbox;
    const auto archive = sandbox.root().getChildFile ("work/vds.zip");
    ASSERT_TRUE (writeTestZip (archive, { textEntry ("a.txt", "a"), textEntry ("b.txt", "b") }));

    {
        // A tool that speaks unzip's dialect; the archive's arguments follow as $1...
        UnpackTool::ScopedLauncher launcher ({ "/bin/sh", "-c", "printf 'Archive:  %s\\n  inflating: a.txt\\n  inflating: b.txt\\n' \"$2\"", "sh" });
        InstallJob job;
        Reports reports;
        reports.attach (job);

        ASSERT_TRUE (unzipArchive (job, archive));
        ASSERT_EQ (reports.list.size(), 3u);
        EXPECT_DOUBLE_EQ (reports.list[0].first, 0.0);
        EXPECT_DOUBLE_EQ (reports.list[1].first, 0.5);
        EXPECT_DOUBLE_EQ (reports.list[2].first, 1.0);
    }

    {
        UnpackTool::ScopedLauncher launcher ({ "no-such-unpacker-vamr" });
        InstallJob job;
        LogCapture log;

        EXPECT_FALSE (unzipArchive (job, archive));
        EXPECT_TRUE (log.contains ("unzip/tar failed to start"));
    }
}
