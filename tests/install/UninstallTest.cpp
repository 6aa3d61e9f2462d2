// Uninstall and wipe on real files in a sandbox: what goes, what stays, what
// is logged, and the list of installed rows that Wipe offers.

#include "install/Uninstall.h"
#include "install/UninstallPlan.h"
#include "platform/Locations.h"
#include "support/LogCapture.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    struct UninstallSandbox
    {
        ScopedSandbox sandbox;
        juce::File root = sandbox.root();
        juce::File data = Locations::dataFolder();
        juce::File vst3 = root.getChildFile ("Formats/VST3");
        juce::File vst2 = root.getChildFile ("Formats/VST2");
        juce::File aax = root.getChildFile ("Formats/AAX");
        FormatSettings settings;

        UninstallSandbox()
        {
            settings.path[PluginFormats::aax] = aax.getFullPathName();
            settings.path[PluginFormats::vst2] = vst2.getFullPathName();
            settings.path[PluginFormats::vst3] = vst3.getFullPathName();
        }

        static juce::File put (const juce::File& file)
        {
            EXPECT_TRUE (file.getParentDirectory().createDirectory().wasOk());
            EXPECT_TRUE (file.replaceWithText (file.getFileName())) << file.getFullPathName();
            return file;
        }

        /** A plugin installed in every place an uninstall looks, plus the
            things beside it that must stay. */
        void installPlugin (const juce::String& title)
        {
            const auto stem = title.removeCharacters (" ");
            put (vst3.getChildFile (stem + ".vst3"));
            put (vst2.getChildFile (stem + ".dll"));
            put (aax.getChildFile (stem + ".aaxplugin/Contents/x64/" + stem + ".aaxplugin"));
            put (aax.getChildFile (stem + ".aaxplugin/Contents/Resources/.hidden"));

            for (auto sub : { "appdata/Assets.vra", "Factory Slots/a.slot", "Factory Presets/Warm/b.preset", "Factory Models/c.model" })
                put (data.getChildFile (title).getChildFile (sub));
        }

        ProductRow pluginRow (const juce::String& title, PluginFormat onlyFormat = -1) const
        {
            ProductRow row;
            row.title = title;
            row.name = title.toLowerCase().removeCharacters (" ");
            row.category = "instrument";
            const auto stem = title.removeCharacters (" ");
            const juce::File files[] { aax.getChildFile (stem + ".aaxplugin"), vst2.getChildFile (stem + ".dll"),
                                       vst3.getChildFile (stem + ".vst3") };

            for (PluginFormat f = 0; f < PluginFormats::pluginFormatCount; ++f)
                if (onlyFormat < 0 || onlyFormat == f)
                    row.targets.push_back ({ f, files[f], {} });

            row.targets.push_back ({ PluginFormats::resources, root.getChildFile ("Resources/" + row.name + "/appdata/Assets.vra"), {} });
            return row;
        }

        static ProductRow expansionRow (const juce::String& title, const juce::String& parentTitle, juce::StringArray contents)
        {
            ProductRow row;
            row.title = title;
            row.name = title.toLowerCase().removeCharacters (" ");
            row.category = "extension";
            row.parentTitle = parentTitle;
            row.contents = std::move (contents);
            return row;
        }
    };
}

TEST (Uninstall, APluginLosesItsThreeFormatsAndFourResourceFoldersAndNothingElse)
{
    UninstallSandbox s;
    s.installPlugin ("My Synth");
    s.installPlugin ("Other Synth");
    const auto ownFolder = s.data.getChildFile ("My Synth");
    const auto keptSettings = s.put (ownFolder.getChildFile ("mysynth.settings"));
    const auto keptFolder = s.put (ownFolder.getChildFile ("User Presets/mine.preset"));
    const auto keptNeighbour = s.put (s.vst3.getChildFile ("MySynth2.vst3"));

    LogCapture log;
    Uninstall::unInstall ("My Synth", s.settings, s.data);

    EXPECT_TRUE (log.contains ("unInstall My Synth"));
    EXPECT_FALSE (s.vst3.getChildFile ("MySynth.vst3").exists());
    EXPECT_FALSE (s.vst2.getChildFile ("MySynth.dll").exists());
    EXPECT_FALSE (s.aax.getChildFile ("MySynth.aaxplugin").exists()) << "the whole bundle, hidden files included";

    for (auto sub : resourceSubFolders())
        EXPECT_FALSE (ownFolder.getChildFile (sub).exists()) << sub;

    for (const auto& kept : { keptSettings, keptFolder, keptNeighbour })
        EXPECT_TRUE (kept.existsAsFile()) << kept.getFullPathName();

    EXPECT_EQ (s.root.getChildFile ("Formats").findChildFiles (juce::File::findFiles, true, "*").size(), 4 + 1)
        << "Other Synth's four format files and the neighbour stay";
    EXPECT_EQ (s.data.findChildFiles (juce::File::findFiles, true, "*").size(), 4 + 2)
        << "Other Synth's four resource files and My Synth's two others stay";
    EXPECT_TRUE (s.aax.getChildFile ("OtherSynth.aaxplugin/Contents/x64/OtherSynth.aaxplugin").existsAsFile());
    EXPECT_TRUE (s.data.getChildFile ("Other Synth/appdata/Assets.vra").existsAsFile());
}

TEST (Uninstall, AVst3BundleThatStillHoldsFilesStays)
{
    UninstallSandbox s;
    const auto inside = s.put (s.vst3.getChildFile ("MySynth.vst3/Contents/x86_64-win/MySynth.vst3"));
    const auto emptyBundle = s.vst2.getChildFile ("MySynth.dll");
    ASSERT_TRUE (emptyBundle.createDirectory().wasOk());

    Uninstall::unInstall ("My Synth", s.settings, s.data);

    EXPECT_TRUE (inside.existsAsFile()) << "a VST3 folder is removed only when empty";
    EXPECT_FALSE (emptyBundle.exists()) << "an empty folder in its place goes";
}

TEST (Uninstall, ShortNamesAndUnsetFoldersDeleteNothing)
{
    UninstallSandbox s;
    const auto shortOne = s.put (s.vst3.getChildFile ("AB.vst3"));
    const auto shortData = s.put (s.data.getChildFile ("AB/appdata/x"));

    LogCapture log;
    Uninstall::unInstall ("AB", s.settings, s.data);
    Uninstall::unInstall ({}, s.settings, s.data);
    EXPECT_TRUE (shortOne.existsAsFile());
    EXPECT_TRUE (shortData.existsAsFile());
    EXPECT_TRUE (log.contains ("unInstall AB")) << "the log line still comes";

    // A format with no folder set (or a relative one) is skipped, not resolved
    // against the working directory.
    s.installPlugin ("My Synth");
    auto settings = s.settings;
    settings.path[PluginFormats::vst3] = {};
    settings.path[PluginFormats::vst2] = "relative/VST2";
    Uninstall::unInstall ("My Synth", settings, s.data);
    EXPECT_TRUE (s.vst3.getChildFile ("MySynth.vst3").existsAsFile());
    EXPECT_TRUE (s.vst2.getChildFile ("MySynth.dll").existsAsFile());
    EXPECT_FALSE (s.aax.getChildFile ("MySynth.aaxplugin").exists());
}

TEST (Uninstall, AnExpansionLosesItsFilesThenTheFoldersLeftEmpty)
{
    UninstallSandbox s;
    const auto parent = s.data.getChildFile ("My Synth");
    s.put (parent.getChildFile ("Presets/A.preset"));
    s.put (parent.getChildFile ("Presets/Sub/B.preset"));
    const auto kept = s.put (parent.getChildFile ("Presets/Other/C.preset"));
    const auto emptyBefore = parent.getChildFile ("Empty");
    ASSERT_TRUE (emptyBefore.createDirectory().wasOk());

    LogCapture log;
    Uninstall::unInstallExtension ("My Synth", { "Presets/A.preset", "Presets/Sub/B.preset", "Presets/Gone.preset" }, s.data);

    EXPECT_FALSE (parent.getChildFile ("Presets/A.preset").exists());
    EXPECT_FALSE (parent.getChildFile ("Presets/Sub").exists());
    EXPECT_TRUE (kept.existsAsFile());
    EXPECT_FALSE (emptyBefore.exists()) << "every empty folder below the parent's goes";
    EXPECT_TRUE (parent.isDirectory());

    const auto gone = parent.getChildFile ("Presets").getChildFile ("Gone.preset").getFullPathName();
    EXPECT_EQ (log.messages(), (juce::StringArray { "unInstallExtension My Synth",
                                                    "   will delete " + parent.getChildFile ("Presets").getChildFile ("A.preset").getFullPathName(),
                                                    "   will delete " + parent.getChildFile ("Presets").getChildFile ("Sub").getChildFile ("B.preset").getFullPathName(),
                                                    "   will delete " + gone,
                                                    "   NOT FOUND: " + gone }));

    // Without the other file, Presets empties in a later pass; the parent's folder stays.
    Uninstall::unInstallExtension ("My Synth", { "Presets/Other/C.preset" }, s.data);
    EXPECT_FALSE (parent.getChildFile ("Presets").exists());
    EXPECT_TRUE (parent.isDirectory());
}

TEST (Uninstall, InstalledRowsCountResourcesAndExpansionsInListOrder)
{
    UninstallSandbox s;
    auto onlyResources = s.pluginRow ("Res Only");
    s.put (onlyResources.targets.back().file);
    auto onlyVst2 = s.pluginRow ("Vst Two", PluginFormats::vst2);
    s.put (s.vst2.getChildFile ("VstTwo.dll"));
    const auto absent = s.pluginRow ("Not Here");
    auto someFiles = s.expansionRow ("Some Sounds", "Vst Two", { "Sounds/a.wav", "Sounds/b.wav" });
    s.put (s.data.getChildFile ("Vst Two/Sounds/b.wav"));
    const auto noFiles = s.expansionRow ("No Sounds", "Vst Two", { "Other/a.wav" });
    const auto noParent = s.expansionRow ("Orphan", {}, { "Sounds/b.wav" });

    const auto installed = Uninstall::installedRows ({ absent, someFiles, noFiles, onlyVst2, noParent, onlyResources }, s.data);

    juce::StringArray titles;
    for (const auto& row : installed)
        titles.add (row.title);

    EXPECT_EQ (titles, (juce::StringArray { "Some Sounds", "Vst Two", "Res Only" }));
}

TEST (Uninstall, WipeRemovesEachInstalledRowOnceAndSkipsTheRest)
{
    UninstallSandbox s;
    s.put (s.vst2.getChildFile ("VstTwo.dll"));
    const auto vst2Only = s.pluginRow ("Vst Two", PluginFormats::vst2);
    s.installPlugin ("My Synth");
    const auto full = s.pluginRow ("My Synth");
    s.put (s.data.getChildFile ("My Synth/Sounds/a.wav"));
    const auto sounds = s.expansionRow ("Synth Sounds", "My Synth", { "Sounds/a.wav" });
    const auto absent = s.pluginRow ("Not Here");
    // An expansion that lost its parent title, named like an installed plugin.
    const auto orphan = s.expansionRow ("Vst Two", {}, { "Sounds/a.wav" });

    LogCapture log;
    EXPECT_TRUE (Uninstall::uninstallRow (orphan, s.settings, s.data, nullptr));
    EXPECT_TRUE (s.vst2.getChildFile ("VstTwo.dll").existsAsFile()) << "an expansion row never removes the plugin of its name";
    EXPECT_TRUE (log.contains ("unInstallExtension refused, unsafe parent title <>"));

    Uninstall::wipeProducts ({ orphan, vst2Only, full, full, sounds, absent }, s.settings, s.data, nullptr);

    EXPECT_FALSE (s.vst2.getChildFile ("VstTwo.dll").exists());
    EXPECT_FALSE (s.vst3.getChildFile ("MySynth.vst3").exists());
    EXPECT_FALSE (s.data.getChildFile ("My Synth/Sounds").exists());
    EXPECT_TRUE (s.data.getChildFile ("My Synth").isDirectory());

    EXPECT_EQ (log.count ("unInstall Vst Two"), 1) << "the plugin's row only, which also tries the formats it lacks";
    EXPECT_EQ (log.count ("unInstall My Synth"), 1) << "a plugin listed twice goes once";
    EXPECT_EQ (log.count ("will wipe: My Synth"), 1);
    EXPECT_TRUE (log.contains ("will wipe: Synth Sounds"));
    EXPECT_FALSE (log.contains ("will wipe: Not Here"));
}

TEST (Uninstall, NothingIsRemovedWhileTheProductsInstallRuns)
{
    UninstallSandbox s;
    s.installPlugin ("My Synth");
    s.put (s.data.getChildFile ("My Synth/Sounds/a.wav"));
    const auto plugin = s.pluginRow ("My Synth");
    const auto sounds = s.expansionRow ("Synth Sounds", "My Synth", { "Sounds/a.wav" });

    juce::WaitableEvent release (true);
    InstallQueueOptions options;
    options.work = [&release] (InstallJobPtr job, const InstallRequest&, const InstallSequenceOptions&)
    {
        release.wait (20000);
        job->complete (true, false, {});
    };
    InstallQueue queue (options);
    ASSERT_NE (queue.start (InstallQueue::keyFor (plugin), {}), nullptr);
    ASSERT_NE (queue.start (InstallQueue::keyFor (sounds), {}), nullptr);

    LogCapture log;
    EXPECT_FALSE (Uninstall::uninstallRow (plugin, s.settings, s.data, &queue));
    Uninstall::wipeProducts ({ plugin, sounds }, s.settings, s.data, &queue);

    EXPECT_TRUE (s.vst3.getChildFile ("MySynth.vst3").existsAsFile());
    EXPECT_TRUE (s.data.getChildFile ("My Synth/Sounds/a.wav").existsAsFile());
    EXPECT_EQ (log.count ("uninstall refused while its install runs: My Synth"), 2);
    EXPECT_EQ (log.count ("uninstall refused while its install runs: Synth Sounds"), 1);
    EXPECT_FALSE (log.contains ("unInstall My Synth"));

    release.signal();
    ASSERT_TRUE (waitWithoutPumping ([&] { return ! queue.isRunning (InstallQueue::keyFor (plugin))
                                                   && ! queue.isRunning (InstallQueue::keyFor (sounds)); }));

    EXPECT_TRUE (Uninstall::uninstallRow (plugin, s.settings, s.data, &queue)) << "an ended job no longer holds the files";
    EXPECT_FALSE (s.vst3.getChildFile ("MySynth.vst3").exists());
}
