#include "install/Placement.h"
#include "log/DiagnosticLog.h"
#include "support/LogCapture.h"
#include "support/TestArchives.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
    juce::MemoryBlock bytesOf (const juce::File& file)
    {
        juce::MemoryBlock block;
        file.loadFileAsData (block);
        return block;
    }

    /** Root ignores permission bits, so a test run as root acts as the
        nobody user while it checks them; the log stays writable for it. */
    class ScopedUnprivileged
    {
    public:
        ScopedUnprivileged()
        {
            if (::geteuid() != 0)
                return;

            ::chmod (logFile.toRawUTF8(), 0666);
            dropped = ::seteuid (65534) == 0;
        }

        ~ScopedUnprivileged()
        {
            if (! dropped)
                return;

            (void) ::seteuid (0);
            ::chmod (logFile.toRawUTF8(), 0644);
        }

    private:
        const juce::String logFile = generalLogWriter().getFile().getFullPathName();
        bool dropped = false;
    };

    /** Caps the size of any file this process writes, as a full disk would. */
    class ScopedFileSizeLimit
    {
    public:
        explicit ScopedFileSizeLimit (rlim_t bytes)
        {
            previousHandler = std::signal (SIGXFSZ, SIG_IGN);
            ::getrlimit (RLIMIT_FSIZE, &previous);
            rlimit limit { bytes, previous.rlim_max };
            applied = ::setrlimit (RLIMIT_FSIZE, &limit) == 0;
        }

        ~ScopedFileSizeLimit()
        {
            ::setrlimit (RLIMIT_FSIZE, &previous);
            std::signal (SIGXFSZ, previousHandler);
        }

        bool applied = false;

    private:
        rlimit previous {};
        void (*previousHandler) (int) = nullptr;
    };

    FormatSettings foldersBelow (const juce::File& root)
    {
        FormatSettings settings;
        settings.path[PluginFormats::aax] = root.getChildFile ("AAX").getFullPathName();
        settings.path[PluginFormats::vst2] = root.getChildFile ("VST2").getFullPathName();
        settings.path[PluginFormats::vst3] = root.getChildFile ("VST3").getFullPathName();
        return settings;
    }
}

TEST (PlacementLinux, ReadOnlyTargetFolderGivesAClearErrorAndKeepsThePreviousVersion)
{
    ScopedSandbox sandbox;
    const auto root = sandbox.root();
    const auto work = root.getChildFile ("work");
    ASSERT_TRUE (writeBytes (work.getChildFile ("MySynth.vst3"), noiseBytes (5000, 1)));
    ASSERT_TRUE (writeBytes (work.getChildFile ("MySynth.aaxplugin/Contents/x64/MySynth.aaxplugin"), noiseBytes (5000, 2)));

    const auto oldVst3 = noiseBytes (4000, 3);
    const auto oldAax = noiseBytes (4000, 4);
    const auto vst3Folder = root.getChildFile ("VST3");
    const auto aaxFolder = root.getChildFile ("AAX");
    ASSERT_TRUE (writeBytes (vst3Folder.getChildFile ("MySynth.vst3"), oldVst3));
    ASSERT_TRUE (writeBytes (aaxFolder.getChildFile ("MySynth.aaxplugin/Contents/x64/MySynth.aaxplugin"), oldAax));

    // Everyone may read and enter, nobody may write the plugin folders.
    for (const auto& folder : { root, work, vst3Folder, aaxFolder })
        ASSERT_EQ (::chmod (folder.getFullPathName().toRawUTF8(), folder == root || folder == work ? 0755 : 0555), 0);

    LogCapture log;
    juce::String error;
    {
        ScopedUnprivileged unprivileged;
        error = placeFiles ({ "{commonfiles}/MySynth.vst3", "{commonfiles}/MySynth.aaxplugin" }, {},
                            foldersBelow (root), work, root.getChildFile ("data"));
    }

    for (const auto& folder : { vst3Folder, aaxFolder })
        ::chmod (folder.getFullPathName().toRawUTF8(), 0755);

    EXPECT_EQ (error, "   2.Could not copy: <" + work.getChildFile ("MySynth.aaxplugin").getFullPathName()
                        + "> --> <" + aaxFolder.getChildFile ("MySynth.aaxplugin").getFullPathName() + ">");
    EXPECT_TRUE (log.contains ("   2.Could not copy: <" + work.getChildFile ("MySynth.vst3").getFullPathName()
                               + "> --> <" + vst3Folder.getChildFile ("MySynth.vst3").getFullPathName() + ">"));

    // The reason is in the log, and the old versions are untouched.
    const auto reasons = log.messages().joinIntoString ("\n");
    EXPECT_TRUE (reasons.contains ("extralog, cannot write <" + vst3Folder.getChildFile ("MySynth.vst3.vamrnew").getFullPathName()
                                   + ">: Permission denied")) << reasons;
    EXPECT_EQ (bytesOf (vst3Folder.getChildFile ("MySynth.vst3")), oldVst3);
    EXPECT_EQ (bytesOf (aaxFolder.getChildFile ("MySynth.aaxplugin/Contents/x64/MySynth.aaxplugin")), oldAax);
    EXPECT_EQ (filesBelow (vst3Folder), juce::StringArray { "MySynth.vst3" });
    EXPECT_EQ (filesBelow (aaxFolder), juce::StringArray { "MySynth.aaxplugin/Contents/x64/MySynth.aaxplugin" });
}

TEST (PlacementLinux, ACopyCutShortByAFullDiskLeavesThePreviousFileByteIdentical)
{
    ScopedSandbox sandbox;
    const auto root = sandbox.root();
    const auto work = root.getChildFile ("work");
    const auto target = root.getChildFile ("VST2/MySynth.dll");
    const auto previous = noiseBytes (20000, 7);
    ASSERT_TRUE (writeBytes (work.getChildFile ("MySynth.dll"), noiseBytes (200000, 8)));
    ASSERT_TRUE (writeBytes (target, previous));

    juce::String error;
    {
        ScopedFileSizeLimit limit (64 * 1024);
        ASSERT_TRUE (limit.applied);
        error = placeFiles ({ "{vst2folder}/MySynth.dll" }, {}, foldersBelow (root), work, root.getChildFile ("data"));
    }

    EXPECT_TRUE (error.startsWith ("   1.Could not copy: <")) << error;
    EXPECT_EQ (bytesOf (target), previous);
    EXPECT_EQ (filesBelow (target.getParentDirectory()), juce::StringArray { "MySynth.dll" });   // no half-written copy left
}

TEST (PlacementLinux, ASourceReachedThroughASymbolicLinkCountsAsMissing)
{
    ScopedSandbox sandbox;
    const auto root = sandbox.root();
    const auto work = root.getChildFile ("work");
    const auto outside = root.getChildFile ("outside");
    ASSERT_TRUE (writeBytes (outside.getChildFile ("secret.preset"), noiseBytes (100, 1)));
    ASSERT_TRUE (work.createDirectory());
    ASSERT_TRUE (outside.createSymbolicLink (work.getChildFile ("link"), true));
    ASSERT_TRUE (outside.getChildFile ("secret.preset").createSymbolicLink (work.getChildFile ("direct.preset"), true));

    const auto data = root.getChildFile ("data");
    const auto error = placeFiles ({ "{commonappdata}/X/link/secret.preset", "{commonappdata}/X/direct.preset" }, {},
                                   foldersBelow (root), work, data);

    EXPECT_EQ (error, "   3.src file doesn't exist: " + work.getChildFile ("direct.preset").getFullPathName());
    EXPECT_FALSE (data.exists());
}
