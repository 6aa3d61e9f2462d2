#include "install/ZipEntryCount.h"
#include "support/TestArchives.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    /** An end-of-central-directory record announcing this many entries. */
    juce::MemoryBlock endRecord (int entries)
    {
        juce::MemoryOutputStream out;
        out.writeInt (0x06054b50);
        out.writeShort (0);
        out.writeShort (0);
        out.writeShort ((short) entries);
        out.writeShort ((short) entries);
        out.writeInt (0);
        out.writeInt (0);
        out.writeShort (0);
        return out.getMemoryBlock();
    }

    /** size bytes of filler with the record copied in at offset (if >= 0). */
    juce::MemoryBlock fileWithRecordAt (size_t size, int offset, int entries)
    {
        juce::MemoryBlock bytes (size, true);
        bytes.fillWith ('z');

        if (offset >= 0)
        {
            const auto record = endRecord (entries);
            bytes.copyFrom (record.getData(), offset, juce::jmin (record.getSize(), size - (size_t) offset));
        }

        return bytes;
    }
}

TEST (ZipEntryCount, RealArchivesGiveTheirEntryCount)
{
    ScopedSandbox sandbox;
    const auto small = sandbox.root().getChildFile ("small.zip");
    const auto large = sandbox.root().getChildFile ("large.zip");

    ASSERT_TRUE (writeTestZip (small, { textEntry ("a.txt", "a"), textEntry ("sub/b.txt", "b"), textEntry ("c.txt", "c") }));

    // Incompressible content pushes the central directory far beyond the first 64 KiB.
    std::vector<TestArchiveEntry> many;
    for (int i = 0; i < 40; ++i)
        many.push_back ({ "noise/" + juce::String (i) + ".bin", noiseBytes (8192, i) });
    ASSERT_TRUE (writeTestZip (large, many));
    ASSERT_GT (large.getSize(), 300000);

    EXPECT_EQ (countZipEntries (small), 3);
    EXPECT_EQ (countZipEntries (large), 40);
}

TEST (ZipEntryCount, SearchesOnlyTheLast64KiBFromTheLastPlaceARecordFits)
{
    ScopedSandbox sandbox;

    struct Case { const char* name; size_t size; int offset; int expected; };
    const Case cases[] = {
        { "100-byte file, record inside",          100,   40,    7 },
        { "100-byte file, record at the very end", 100,   78,    7 },   // 22 bytes fit exactly
        { "record cut short by the end",           100,   79,   -1 },
        { "no record at all",                      100,   -1,   -1 },
        { "empty file",                            0,     -1,   -1 },
        { "record in the last 64 KiB",             70000, 70000 - 65536, 9 },
        { "record before the last 64 KiB",         70000, 70000 - 65537, -1 },
    };

    for (const auto& c : cases)
    {
        const auto file = sandbox.root().getChildFile ("case.zip");
        ASSERT_TRUE (writeBytes (file, fileWithRecordAt (c.size, c.offset, c.offset >= 0 ? (c.expected > 0 ? c.expected : 5) : 0)));
        EXPECT_EQ (countZipEntries (file), c.expected) << c.name;
    }

    EXPECT_EQ (countZipEntries (sandbox.root().getChildFile ("missing.zip")), -1);
    EXPECT_EQ (countZipEntries (sandbox.root()), -1);   // a folder cannot be read as an archive
}
