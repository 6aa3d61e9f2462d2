// Includes run one way, from higher layers to lower ones. This reads every
// #include "..." below src/ and reports each one that points upward, so a
// shortcut through a higher layer fails the suite instead of growing quietly.

#include <gtest/gtest.h>

#include <juce_core/juce_core.h>

#include <map>
#include <set>

namespace
{
    // For each layer (the first folder below src/), the layers it may include.
    // app/ may include anything and so is not listed.
    const std::map<juce::String, std::set<juce::String>>& allowedIncludes()
    {
        static const std::map<juce::String, std::set<juce::String>> rules {
            { "platform",   { "platform" } },
            { "log",        { "log", "platform" } },
            // The catalogue's products carry their installed versions, so the
            // cloud layer reads local state; local state never reads the cloud.
            { "localstate", { "localstate", "log", "platform" } },
            { "cloud",      { "cloud", "localstate", "log", "platform" } },
            { "install",    { "install", "cloud", "localstate", "log", "platform" } },
            { "update",     { "update", "cloud", "localstate", "log", "platform" } },
            { "ui",         { "ui", "install", "update", "cloud", "localstate", "log", "platform" } },
        };
        return rules;
    }

    /** Every upward include below srcRoot, as "file:line: target". Includes
        without a folder (the same folder) and unknown layers are upward too:
        every include in src/ names its layer. */
    juce::StringArray upwardIncludes (const juce::File& srcRoot)
    {
        juce::StringArray found;

        for (const auto& entry : juce::RangedDirectoryIterator (srcRoot, true, "*.h;*.cpp", juce::File::findFiles))
        {
            const auto file = entry.getFile();
            const auto relative = file.getRelativePathFrom (srcRoot).replaceCharacter ('\\', '/');
            const auto layer = relative.upToFirstOccurrenceOf ("/", false, false);

            if (layer == "app")
                continue;

            const auto rule = allowedIncludes().find (layer);
            juce::StringArray lines;
            file.readLines (lines);

            for (int i = 0; i < lines.size(); ++i)
            {
                const auto line = lines[i].trim();

                if (! line.startsWith ("#") || ! line.substring (1).trimStart().startsWith ("include"))
                    continue;

                if (! line.contains ("\""))
                    continue; // <system> and JUCE headers

                const auto target = line.fromFirstOccurrenceOf ("\"", false, false).upToFirstOccurrenceOf ("\"", false, false);
                const auto targetLayer = target.upToFirstOccurrenceOf ("/", false, false);

                if (rule == allowedIncludes().end() || ! target.contains ("/") || rule->second.count (targetLayer) == 0)
                    found.add (relative + ":" + juce::String (i + 1) + ": " + target);
            }
        }

        found.sort (false);
        return found;
    }
}

TEST (IncludeDirection, SourceTreeIncludesOnlyDownward)
{
    const juce::File srcRoot (VAMRHELPER_SOURCE_ROOT);
    ASSERT_TRUE (srcRoot.getChildFile ("platform/Locations.h").existsAsFile()) << srcRoot.getFullPathName();

    const auto upward = upwardIncludes (srcRoot);
    EXPECT_TRUE (upward.isEmpty()) << upward.joinIntoString ("\n");
}

TEST (IncludeDirection, UpwardIncludesAreReported)
{
    const juce::TemporaryFile tree;
    const auto root = tree.getFile();
    const auto write = [&root] (const char* path, const char* text) {
        ASSERT_TRUE (root.getChildFile (path).create().wasOk());
        ASSERT_TRUE (root.getChildFile (path).replaceWithText (text));
    };

    write ("platform/Ok.h", "#include \"platform/Other.h\"\n#include <juce_core/juce_core.h>\n");
    write ("platform/Up.cpp", "#include \"platform/Up.h\"\n  #  include \"log/DiagnosticLog.h\"\n");
    write ("cloud/Ok.cpp", "#include \"localstate/RowRules.h\"\n#include \"log/DiagnosticLog.h\"\n");
    write ("localstate/Up.h", "#pragma once\n#include \"cloud/Product.h\"\n");
    write ("ui/pages/Up.h", "#include \"ui/look/Toast.h\"\n#include \"app/MainComponent.h\"\n");
    write ("ui/look/Same.cpp", "#include \"Toast.h\"\n");
    write ("app/Any.cpp", "#include \"ui/pages/LoginPage.h\"\n#include \"app/link/LinkPipe.h\"\n");

    EXPECT_EQ (upwardIncludes (root), juce::StringArray ({ "localstate/Up.h:2: cloud/Product.h",
                                                           "platform/Up.cpp:2: log/DiagnosticLog.h",
                                                           "ui/look/Same.cpp:1: Toast.h",
                                                           "ui/pages/Up.h:2: app/MainComponent.h" }));
    root.deleteRecursively();
}
