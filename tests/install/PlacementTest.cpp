#include "install/FileReplacement.h"
#include "install/Placement.h"
#include "support/LogCapture.h"
#include "support/TestArchives.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    juce::MemoryBlock bytesOf (const juce::File& file)
    {
        juce::MemoryBlock block;
        file.loadFileAsData (block);
        return block;
    }

    struct PlacementSandbox
    {
        ScopedSandbox sandbox;
        juce::File root = sandbox.root();
        juce::File work = root.getChildFile ("downloads/2");
        juce::File data = root.getChildFile ("ProgramData/Vamrelund");
        FormatSettings settings;

        PlacementSandbox()
        {
            settings.path[PluginFormats::aax] = root.getChildFile ("AAX").getFullPathName();
            settings.path[PluginFormats::vst2] = root.getChildFile ("VST2").getFullPathName();
            settings.path[PluginFormats::vst3] = root.getChildFile ("VST3").getFullPathName();
        }

        juce::MemoryBlock put (const juce::File& file, juce::int64 seed)
        {
            auto bytes = noiseBytes (3000 + (size_t) seed, seed);
            EXPECT_TRUE (writeBytes (file, bytes)) << file.getFullPathName();
            return bytes;
        }
    };
}

TEST (Placement, NewVersionsReplaceOldFilesAndWholeBundles)
{
    PlacementSandbox s;
    const auto dll = s.put (s.work.getChildFile ("MySynth.dll"), 1);
    const auto vst3 = s.put (s.work.getChildFile ("MySynth.vst3"), 2);
    const auto aax = s.put (s.work.getChildFile ("MySynth.aaxplugin/Contents/x64/MySynth.aaxplugin"), 3);
    const auto preset = s.put (s.work.getChildFile ("Factory Presets/Warm.preset"), 4);

    // The previous version: an older VST3 and a read-only bundle with a file the new one lacks.
    s.put (s.root.getChildFile ("VST3/MySynth.vst3"), 20);
    const auto oldBundle = s.root.getChildFile ("AAX/MySynth.aaxplugin");
    s.put (oldBundle.getChildFile ("Contents/x64/MySynth.aaxplugin"), 21);
    s.put (oldBundle.getChildFile ("Contents/Resources/old-only.txt"), 22);
    oldBundle.setReadOnly (true, true);

    LogCapture log;
    const auto error = placeFiles ({ "{vst2folder}/MySynth.dll", "{commonfiles}/MySynth.vst3",
                                     "{commonfiles}/MySynth.aaxplugin", "{commonappdata}/My Synth/Factory Presets/Warm.preset" },
                                   {}, s.settings, s.work, s.data);

    EXPECT_EQ (error, juce::String());
    EXPECT_EQ (bytesOf (s.root.getChildFile ("VST2/MySynth.dll")), dll);
    EXPECT_EQ (bytesOf (s.root.getChildFile ("VST3/MySynth.vst3")), vst3);
    EXPECT_EQ (bytesOf (oldBundle.getChildFile ("Contents/x64/MySynth.aaxplugin")), aax);
    EXPECT_EQ (bytesOf (s.data.getChildFile ("My Synth/Factory Presets/Warm.preset")), preset);

    // The bundle was swapped whole, and nothing temporary is left beside the targets.
    EXPECT_EQ (filesBelow (s.root.getChildFile ("AAX")), juce::StringArray { "MySynth.aaxplugin/Contents/x64/MySynth.aaxplugin" });
    EXPECT_EQ (filesBelow (s.root.getChildFile ("VST3")), juce::StringArray { "MySynth.vst3" });
    EXPECT_EQ (filesBelow (s.root.getChildFile ("VST2")), juce::StringArray { "MySynth.dll" });

    const auto source = [&] (const char* name) { return s.work.getChildFile (name).getFullPathName(); };
    EXPECT_EQ (log.messages(), (juce::StringArray {
        "1.MOVEFILE: <" + source ("MySynth.dll") + "> --> <" + s.root.getChildFile ("VST2/MySynth.dll").getFullPathName() + ">",
        "2.MOVEFILE: <" + source ("MySynth.vst3") + "> --> <" + s.root.getChildFile ("VST3/MySynth.vst3").getFullPathName() + ">",
        "2.MOVEFILE: <" + source ("MySynth.aaxplugin") + "> --> <" + oldBundle.getFullPathName() + ">" }));
}

TEST (Placement, EveryFailureIsLoggedAndTheLastOneIsTheResult)
{
    PlacementSandbox s;
    s.put (s.work.getChildFile ("Blocked.vst3"), 1);
    s.put (s.work.getChildFile ("Blocked.aaxplugin/Contents/x64/Blocked.aaxplugin"), 2);
    const auto preset = s.put (s.work.getChildFile ("Presets/Night.preset"), 3);

    // A folder where a file goes, and a file where a bundle goes: neither is replaced.
    const auto folderInTheWay = s.root.getChildFile ("VST3/Blocked.vst3");
    const auto keptInFolder = s.put (folderInTheWay.getChildFile ("kept.bin"), 4);
    const auto fileInTheWay = s.root.getChildFile ("AAX/Blocked.aaxplugin");
    const auto keptFile = s.put (fileInTheWay, 5);

    LogCapture log;
    const auto error = placeFiles ({ "{vst2folder}/Missing.dll", "{commonfiles}/Blocked.vst3", "readme.txt",
                                     "{commonfiles}/Blocked.aaxplugin", "{commonappdata}/My Synth/Presets/Night.preset" },
                                   {}, s.settings, s.work, s.data);

    const auto copyFailed = [&] (const char* tag, const juce::File& from, const juce::File& to)
    {
        return "   " + juce::String (tag) + ".Could not copy: <" + from.getFullPathName() + "> --> <" + to.getFullPathName() + ">";
    };
    const auto lastMessage = copyFailed ("2", s.work.getChildFile ("Blocked.aaxplugin"), fileInTheWay);

    EXPECT_EQ (error, lastMessage);
    EXPECT_TRUE (log.contains ("   1.src file doesn't exist: " + s.work.getChildFile ("Missing.dll").getFullPathName()));
    EXPECT_TRUE (log.contains (copyFailed ("2", s.work.getChildFile ("Blocked.vst3"), folderInTheWay)));
    EXPECT_TRUE (log.contains ("downloadtofile unallowed path: <readme.txt>"));
    EXPECT_TRUE (log.contains (lastMessage));

    EXPECT_EQ (bytesOf (folderInTheWay.getChildFile ("kept.bin")), keptInFolder);
    EXPECT_EQ (bytesOf (fileInTheWay), keptFile);
    EXPECT_EQ (bytesOf (s.data.getChildFile ("My Synth/Presets/Night.preset")), preset);   // failures never stop the loop
    EXPECT_FALSE (FileReplacement::stagingFor (fileInTheWay).exists());
}

TEST (Placement, ExpansionFilesGoBelowTheParentsFolder)
{
    PlacementSandbox s;
    const auto night = s.put (s.work.getChildFile ("Presets/Winter Pads/Night.preset"), 1);

    LogCapture log;
    const auto error = placeFiles ({ "Presets/Winter Pads/Night.preset", "Presets/Winter Pads/Missing.preset" },
                                   "My Synth", s.settings, s.work, s.data);

    EXPECT_EQ (bytesOf (s.data.getChildFile ("My Synth/Presets/Winter Pads/Night.preset")), night);
    EXPECT_EQ (error, "   E.src file doesn't exist: " + s.work.getChildFile ("Presets/Winter Pads/Missing.preset").getFullPathName());
    EXPECT_TRUE (log.contains ("expansion file Presets/Winter Pads/Night.preset"));
}
