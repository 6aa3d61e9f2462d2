#include "install/UnpackOutputLines.h"

#include <gtest/gtest.h>

TEST (UnpackOutputLines, EntryLinesOfBothToolFamiliesCount)
{
    struct Case { const char* line; bool counts; };
    const Case cases[] = {
        { "inflating: Presets/Warm.preset", true },
        { "extracting: MySynth.dll", true },
        { "creating: Presets/", true },
        { "x MySynth.vst3", true },                     // bsdtar's own listing
        { "x ../escape.txt: Path contains '..'", true },  // refused, but the tool has dealt with it
        { "Inflating: MySynth.dll", false },            // case matters
        { "Archive:  vds.zip", false },
        { "bsdtar: Error exit delayed from previous errors.", false },
        { "xfile", false },
        { "", false },
    };

    for (const auto& c : cases)
        EXPECT_EQ (countsAsUnpackedEntry (c.line), c.counts) << c.line;
}

TEST (UnpackOutputLines, ProgressFollowsCompleteLinesAcrossReads)
{
    UnpackOutputLines lines (4);
    std::vector<float> reports;
    const auto report = [&] (float fraction) { reports.push_back (fraction); };

    // Leading and trailing white space is trimmed; a line is only judged
    // when its end has arrived, even if it is split inside a character.
    const std::string output = "  inflating: a.txt  \r\nArchive: x\nx N\xc3\xb8kken.preset\nx b";
    const auto split = output.find ("\xb8");

    lines.feed (output.data(), split, report);
    EXPECT_EQ (reports, (std::vector<float> { 0.25f, 0.25f }));

    lines.feed (output.data() + split, output.size() - split, report);
    EXPECT_EQ (reports, (std::vector<float> { 0.25f, 0.25f, 0.5f }));
    EXPECT_EQ (lines.countedEntries(), 2);

    lines.feed ("\n", 1, report);
    EXPECT_FLOAT_EQ (reports.back(), 0.75f);
}

TEST (UnpackOutputLines, UnknownEntryCountDividesByOne)
{
    for (int entryCount : { -1, 0 })
    {
        UnpackOutputLines lines (entryCount);
        float last = -1.0f;
        lines.feed ("x a\n", 4, [&] (float fraction) { last = fraction; });
        EXPECT_FLOAT_EQ (last, 1.0f) << entryCount;
    }
}
