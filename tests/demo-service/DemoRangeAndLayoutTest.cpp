#include "demoservice/ArchiveLayout.h"
#include "demoservice/ByteRange.h"

#include <gtest/gtest.h>

using namespace demoservice;
using Kind = ByteRangeAnswer::Kind;

TEST (DemoByteRange, AnswersForRangeHeaders)
{
    struct Case { const char* header; std::uint64_t size; Kind kind; std::uint64_t first, length; const char* contentRange; };
    const Case cases[] = {
        { "bytes=0-",        100, Kind::partial,       0,  100, "bytes 0-99/100" },
        { "bytes=40-",       100, Kind::partial,       40, 60,  "bytes 40-99/100" },
        { "bytes=10-19",     100, Kind::partial,       10, 10,  "bytes 10-19/100" },
        { "bytes=90-500",    100, Kind::partial,       90, 10,  "bytes 90-99/100" },
        { "bytes=-30",       100, Kind::partial,       70, 30,  "bytes 70-99/100" },
        { "bytes=-500",      100, Kind::partial,       0,  100, "bytes 0-99/100" },
        { "bytes=99-",       100, Kind::partial,       99, 1,   "bytes 99-99/100" },
        { "bytes=100-",      100, Kind::unsatisfiable, 0,  0,   "bytes */100" },
        { "bytes=5000-6000", 100, Kind::unsatisfiable, 0,  0,   "bytes */100" },
        { "bytes=-0",        100, Kind::unsatisfiable, 0,  0,   "bytes */100" },
        { "bytes=0-",        0,   Kind::unsatisfiable, 0,  0,   "bytes */0" },
        { "",                100, Kind::whole,         0,  0,   "" },
        { "bytes=20-10",     100, Kind::whole,         0,  0,   "" },
        { "bytes=0-1,5-6",   100, Kind::whole,         0,  0,   "" },
        { "items=0-10",      100, Kind::whole,         0,  0,   "" },
        { "bytes=abc-",      100, Kind::whole,         0,  0,   "" },
    };

    for (const auto& c : cases)
    {
        const auto answer = answerRange (c.header, c.size);
        EXPECT_EQ (answer.kind, c.kind) << c.header;
        if (c.kind == Kind::partial)
        {
            EXPECT_EQ (answer.first, c.first) << c.header;
            EXPECT_EQ (answer.length, c.length) << c.header;
        }
        EXPECT_EQ (answer.contentRange (c.size), c.contentRange) << c.header;
    }
}

TEST (DemoArchiveLayout, PluginEntriesLandWherePlacementLooks)
{
    std::string error;
    const auto layout = archiveLayout ({ "{vst2folder}/MySynth.dll",
                                         "{vst2folder}/Old/MySynth.VST",
                                         "{commonfiles}/MySynth.vst3",
                                         "{commonfiles}/MySynth.aaxplugin",
                                         "{commonappdata}/My Synth/Factory Presets/Warm.preset",
                                         "{commonappdata}/My Synth/{commonappdata}/Deep/Odd.preset" },
                                       false, error);
    ASSERT_EQ (error, "");

    using K = ArchiveEntry::Kind;
    const std::vector<std::pair<std::string, K>> expected {
        { "MySynth.dll", K::pluginBinary },
        { "Old/MySynth.VST", K::pluginBinary },
        { "MySynth.vst3", K::pluginBinary },
        { "MySynth.aaxplugin", K::pluginBundle },
        { "Factory Presets/Warm.preset", K::dataFile },
        { "Odd.preset", K::dataFile },   // after the last placeholder, then after its first folder
    };

    ASSERT_EQ (layout.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ (layout[i].path, expected[i].first);
        EXPECT_EQ (layout[i].kind, expected[i].second);
    }

    EXPECT_EQ (bundleBinaryPath ("MySynth.aaxplugin"), "MySynth.aaxplugin/Contents/x64/MySynth.aaxplugin");
}

TEST (DemoArchiveLayout, ExpansionEntriesKeepTheirPaths)
{
    std::string error;
    const auto layout = archiveLayout ({ "Presets/Night.preset", "{commonfiles}/Looks/Like/A.vst3" }, true, error);
    ASSERT_EQ (error, "");
    ASSERT_EQ (layout.size(), 2u);
    EXPECT_EQ (layout[0].path, "Presets/Night.preset");
    EXPECT_EQ (layout[1].path, "{commonfiles}/Looks/Like/A.vst3");
    EXPECT_EQ (layout[1].kind, ArchiveEntry::Kind::dataFile);
}

TEST (DemoArchiveLayout, EntriesThePlacementWouldRefuseOrThatCollideFail)
{
    const std::vector<std::pair<std::vector<std::string>, bool>> cases {
        { { "{VST2FOLDER}/x.dll" }, false },                       // placeholders are case-sensitive
        { { "readme.txt" }, false },
        { { "{vst2folder}/x.vst3" }, false },
        { { "{commonfiles}/x.dll" }, false },
        { { "{commonappdata}/OnlyFolder" }, false },
        { { "{commonappdata}/P/../../escape.preset" }, false },
        { { "../escape.preset" }, true },
        { { "/absolute.preset" }, true },
        { { "{vst2folder}/A.dll", "{commonappdata}/P/A.dll" }, false },   // same archive path twice
    };

    for (const auto& [contents, expansion] : cases)
    {
        std::string error;
        EXPECT_TRUE (archiveLayout (contents, expansion, error).empty()) << contents.front();
        EXPECT_FALSE (error.empty()) << contents.front();
    }
}
