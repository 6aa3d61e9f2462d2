#include "install/PlacementPlan.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    enum class Expect { skipped, refused, file, bundle };

    struct Case
    {
        const char* entry;
        const char* parentTitle;
        bool aax, vst2, vst3;
        Expect expect;
        const char* tag;
        const char* source;   // below the work folder
        const char* target;   // below the sandbox root
    };

    constexpr bool on = true, off = false;

    const Case cases[] = {
        // The Part's examples.
        { "{commonfiles}/MySynth.vst3", "", on, on, on, Expect::file, "2", "MySynth.vst3", "VST3/MySynth.vst3" },
        { "{commonappdata}/My Synth/Factory Presets/Warm.preset", "", on, on, on, Expect::file, "3",
          "Factory Presets/Warm.preset", "ProgramData/Vamrelund/My Synth/Factory Presets/Warm.preset" },
        { "readme.txt", "", on, on, on, Expect::refused },
        { "Presets/Night.preset", "My Synth", on, on, on, Expect::file, "E",
          "Presets/Night.preset", "ProgramData/Vamrelund/My Synth/Presets/Night.preset" },
        { "{VST2FOLDER}/x.dll", "", on, on, on, Expect::refused },
        { "{vst2folder}/X.DLL", "", on, on, on, Expect::file, "1", "X.DLL", "VST2/X.DLL" },
        { "{vst2folder}/Old.vst", "", on, on, on, Expect::file, "1", "Old.vst", "VST2/Old.vst" },
        { "{vst2folder}/x.dll", "", on, off, on, Expect::skipped },
        { "{vst2folder}/x.exe", "", on, on, on, Expect::skipped },
        { "{commonfiles}/MySynth.vst3", "", on, on, off, Expect::skipped },     // never into the AAX folder
        { "{commonfiles}/MySynth.aaxplugin", "", on, on, on, Expect::bundle, "2",
          "MySynth.aaxplugin", "AAX/MySynth.aaxplugin" },
        { "{commonfiles}/MySynth.AAXPLUGIN", "", on, on, off, Expect::bundle, "2",
          "MySynth.AAXPLUGIN", "AAX/MySynth.AAXPLUGIN" },
        { "{commonfiles}/MySynth.aaxplugin", "", off, on, on, Expect::skipped },
        { "{commonfiles}/readme.txt", "", on, on, on, Expect::skipped },
        { "{commonfiles}/x.vst3", "My Synth", on, on, on, Expect::file, "E",
          "{commonfiles}/x.vst3", "ProgramData/Vamrelund/My Synth/{commonfiles}/x.vst3" },

        // Entries that would leave their folder.
        { "{vst2folder}/../../evil.dll", "", on, on, on, Expect::refused },
        { "{vst2folder}/sub/.../evil.dll", "", on, on, on, Expect::refused },
        { "{vst2folder}/C:/Windows/evil.dll", "", on, on, on, Expect::refused },
        { "{vst2folder}/\\\\server\\share\\evil.dll", "", on, on, on, Expect::refused },
        { "{vst2folder}/evil.dll:stream.dll", "", on, on, on, Expect::refused },
        { "{commonfiles}//etc/evil.vst3", "", on, on, on, Expect::refused },
        { "{commonfiles}/..\\evil.vst3", "", on, on, on, Expect::refused },
        { "{commonappdata}/../evil.preset", "", on, on, on, Expect::refused },
        { "{commonappdata}/My Synth/../../../evil.preset", "", on, on, on, Expect::refused },
        { "{commonappdata}/My Synth/.. /evil.preset", "", on, on, on, Expect::refused },
        { "../evil.preset", "My Synth", on, on, on, Expect::refused },
        { "/etc/evil.preset", "My Synth", on, on, on, Expect::refused },
        { "C:\\evil.preset", "My Synth", on, on, on, Expect::refused },
        { "//server/share/evil.preset", "My Synth", on, on, on, Expect::refused },
        { "Presets/evil.preset", "..", on, on, on, Expect::refused },
        { "Presets/evil.preset", "My Synth/../..", on, on, on, Expect::refused },
    };

    juce::File below (const juce::File& folder, const juce::String& relative)
    {
        auto file = folder;
        for (const auto& part : juce::StringArray::fromTokens (relative, "/", {}))
            file = file.getChildFile (part);
        return file;
    }
}

TEST (PlacementPlan, OneTableOfEntriesFormatsAndHostilePaths)
{
    ScopedSandbox sandbox;
    const auto root = sandbox.root();
    const auto work = root.getChildFile ("work").getChildFile ("2");
    const auto data = root.getChildFile ("ProgramData").getChildFile ("Vamrelund");

    for (const auto& c : cases)
    {
        FormatSettings settings;
        settings.path[PluginFormats::aax] = root.getChildFile ("AAX").getFullPathName();
        settings.path[PluginFormats::vst2] = root.getChildFile ("VST2").getFullPathName();
        settings.path[PluginFormats::vst3] = root.getChildFile ("VST3").getFullPathName();
        settings.active[PluginFormats::aax] = c.aax;
        settings.active[PluginFormats::vst2] = c.vst2;
        settings.active[PluginFormats::vst3] = c.vst3;

        const auto entry = juce::String::fromUTF8 (c.entry);
        const auto plan = planPlacement ({ entry }, c.parentTitle, settings, work, data);
        SCOPED_TRACE (c.entry + juce::String (" / ") + c.parentTitle);

        if (c.expect == Expect::skipped)
        {
            EXPECT_TRUE (plan.empty());
            continue;
        }

        ASSERT_EQ (plan.size(), 1u);
        EXPECT_EQ (plan[0].entry, entry);

        if (c.expect == Expect::refused)
        {
            EXPECT_FALSE (plan[0].step.has_value());
            EXPECT_EQ (plan[0].failure, "downloadtofile unallowed path: <" + entry + ">");
            continue;
        }

        ASSERT_TRUE (plan[0].step.has_value());
        const auto& step = *plan[0].step;
        EXPECT_TRUE (plan[0].failure.isEmpty());
        EXPECT_EQ (step.kind, c.expect == Expect::bundle ? PlacementStep::Kind::bundle : PlacementStep::Kind::file);
        EXPECT_EQ (step.tag, c.tag);
        EXPECT_EQ (step.source, below (work, c.source));
        EXPECT_EQ (step.target, below (root, c.target));
        EXPECT_TRUE (step.target.isAChildOf (step.root));
        EXPECT_TRUE (step.source.isAChildOf (work));

        const juce::String tag (c.tag);
        const auto expectedLog = tag == "E" ? "expansion file " + entry
                               : tag == "3" ? juce::String()
                               : tag + ".MOVEFILE: <" + step.source.getFullPathName() + "> --> <" + step.target.getFullPathName() + ">";
        EXPECT_EQ (step.logLine, expectedLog);
    }
}

TEST (PlacementPlan, KeepsTheOrderOfTheContentsAndRefusesAFolderThatIsNotAbsolute)
{
    ScopedSandbox sandbox;
    const auto root = sandbox.root();

    FormatSettings settings;
    settings.path[PluginFormats::vst2] = root.getChildFile ("VST2").getFullPathName();
    settings.path[PluginFormats::vst3] = "relative/VST3";

    const auto plan = planPlacement ({ "{vst2folder}/A.dll", "{commonfiles}/B.vst3", "{vst2folder}/C.dll" }, {},
                                     settings, root.getChildFile ("work"), root.getChildFile ("data"));

    ASSERT_EQ (plan.size(), 3u);
    EXPECT_EQ (plan[0].step->target, root.getChildFile ("VST2/A.dll"));
    EXPECT_EQ (plan[1].failure, "downloadtofile unallowed path: <{commonfiles}/B.vst3>");
    EXPECT_EQ (plan[2].step->target, root.getChildFile ("VST2/C.dll"));
}
