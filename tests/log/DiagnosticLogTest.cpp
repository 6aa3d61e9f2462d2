#include "log/DiagnosticLog.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{
    juce::String readAll (const juce::File& file)
    {
        juce::MemoryBlock bytes;
        file.loadFileAsData (bytes);
        return bytes.toString();
    }

    // Lines of exactly `lineLength` bytes including CR LF.
    void fillWithLines (const juce::File& file, juce::int64 totalBytes, int lineLength)
    {
        juce::FileOutputStream out (file);
        out.setPosition (0);
        out.truncate();

        for (juce::int64 written = 0, n = 0; written < totalBytes; written += lineLength, ++n)
        {
            auto text = "old line " + juce::String (n).paddedLeft ('0', 8) + " ";
            text += juce::String::repeatedString ("x", lineLength - 2 - text.length());
            out << text << "\r\n";
        }
    }

    struct LogFixture : public ::testing::Test
    {
        ScopedSandbox sandbox;
        juce::File logFile = sandbox.root().getChildFile ("logs").getChildFile ("VDS.txt");
    };
}

TEST_F (LogFixture, FirstLineCreatesTheFileWithHeaderBlockThenTheLine)
{
    LogWriter writer (logFile);
    const auto before = juce::Time::currentTimeMillis();
    writer.write ("login, new email = <a@b.c>");
    const auto after = juce::Time::currentTimeMillis();

    const auto text = readAll (logFile);
    const auto lines = juce::StringArray::fromTokens (text, "\n", {});

    // CR LF, 58 asterisks, "VDS log", "Log started: <ms>", an empty line from
    // logMessage's own CR LF, then the time-stamped line.
    ASSERT_GE (lines.size(), 6);
    EXPECT_EQ (lines[0], "\r");
    EXPECT_EQ (lines[1], juce::String::repeatedString ("*", 58) + "\r");
    EXPECT_EQ (lines[2], "VDS log\r");
    ASSERT_TRUE (lines[3].startsWith ("Log started: "));
    const auto headerStamp = lines[3].fromFirstOccurrenceOf (": ", false, false).trimEnd().getLargeIntValue();
    EXPECT_GE (headerStamp, before);
    EXPECT_LE (headerStamp, after);
    EXPECT_EQ (lines[4], "\r");

    const auto stamp = lines[5].upToFirstOccurrenceOf (" ", false, false);
    EXPECT_TRUE (stamp.containsOnly ("0123456789"));
    EXPECT_NE (stamp[0], '0');
    EXPECT_GE (stamp.getLargeIntValue(), before);
    EXPECT_LE (stamp.getLargeIntValue(), after);
    EXPECT_EQ (lines[5], stamp + " login, new email = <a@b.c>\r");
    EXPECT_TRUE (text.endsWith ("<a@b.c>\r\n"));
}

TEST_F (LogFixture, MessagesWithLineBreaksAreWrittenUnchangedWithOneLineEnd)
{
    LogWriter writer (logFile);
    writer.write ("first\nsecond\r\nthird");

    const auto text = readAll (logFile);
    EXPECT_TRUE (text.endsWith (" first\nsecond\r\nthird\r\n")) << text;
}

TEST_F (LogFixture, CreationTrimsAnOversizedFileToWholeLines)
{
    logFile.getParentDirectory().createDirectory();
    fillWithLines (logFile, 1500000, 100);
    ASSERT_GE (logFile.getSize(), 1500000);

    LogWriter writer (logFile);
    ASSERT_TRUE (writer.ensureCreated());

    const auto text = readAll (logFile);
    const auto header = LogWriter::headerBlock ("0").length();
    EXPECT_LE (logFile.getSize(), LogWriter::maxFileSize + header + 20);

    // The kept part starts at a line boundary and then holds whole old lines.
    EXPECT_TRUE (text.startsWith ("\n") || text.startsWith ("\r"));
    const auto firstLine = text.trimStart().upToFirstOccurrenceOf ("\r\n", false, false);
    EXPECT_TRUE (firstLine.startsWith ("old line ")) << firstLine;
    EXPECT_EQ (firstLine.length(), 98);
    EXPECT_TRUE (text.contains ("VDS log\r\nLog started: "));
}

TEST_F (LogFixture, EveryTwentyFifthLineTrimsAndTheCountStartsAgain)
{
    logFile.getParentDirectory().createDirectory();
    fillWithLines (logFile, LogWriter::maxFileSize - 1000, 100);

    LogWriter writer (logFile);

    for (int i = 1; i <= 24; ++i)
        writer.write ("line " + juce::String (i) + " " + juce::String::repeatedString ("y", 80));

    const auto sizeAfter24 = logFile.getSize();
    EXPECT_GT (sizeAfter24, LogWriter::maxFileSize) << "24 lines must not trim yet";

    writer.write ("line 25");
    EXPECT_LE (logFile.getSize(), LogWriter::maxFileSize);
    EXPECT_TRUE (readAll (logFile).endsWith (" line 25\r\n"));

    // The next trim comes 25 lines later, not earlier.
    for (int i = 26; i <= 49; ++i)
        writer.write ("line " + juce::String (i) + " " + juce::String::repeatedString ("z", 80));

    EXPECT_GT (logFile.getSize(), LogWriter::maxFileSize);
    writer.write ("line 50");
    EXPECT_LE (logFile.getSize(), LogWriter::maxFileSize);
}

TEST_F (LogFixture, ThreadsOnBothWritersLoseAndTearNoLine)
{
    // Two writers on one file, as the general and the update writer are.
    // The file starts near its limit so that trims run all the time.
    logFile.getParentDirectory().createDirectory();
    fillWithLines (logFile, LogWriter::maxFileSize - 5000, 200);

    LogWriter general (logFile), update (logFile);
    constexpr int threadsPerWriter = 4, linesPerThread = 400;
    const auto payload = juce::String::repeatedString ("p", 150);

    std::vector<std::thread> threads;

    for (int t = 0; t < threadsPerWriter * 2; ++t)
    {
        threads.emplace_back ([&, t]
        {
            auto& writer = (t % 2 == 0) ? general : update;

            for (int i = 0; i < linesPerThread; ++i)
                writer.write ("t" + juce::String (t) + " n" + juce::String (i) + " " + payload + " end");
        });
    }

    for (auto& thread : threads)
        thread.join();

    const auto text = readAll (logFile);
    // Between two trims each writer adds at most 24 lines.
    EXPECT_LE (logFile.getSize(), LogWriter::maxFileSize + 2 * 24 * 200);

    auto lines = juce::StringArray::fromTokens (text, "\n", {});
    std::map<int, int> lastSeen;
    int checked = 0;

    for (auto line : lines)
    {
        line = line.trimCharactersAtEnd ("\r");

        if (! line.contains (" t") || line.startsWith ("old line"))
            continue;

        // "<stamp> t<thread> n<index> <payload> end", whole and in order per thread.
        const auto parts = juce::StringArray::fromTokens (line, " ", {});
        ASSERT_EQ (parts.size(), 5) << line;
        ASSERT_EQ (parts[3], payload) << line;
        ASSERT_EQ (parts[4], "end") << line;

        const auto thread = parts[1].substring (1).getIntValue();
        const auto index = parts[2].substring (1).getIntValue();

        if (lastSeen.count (thread) != 0)
        {
            EXPECT_EQ (index, lastSeen[thread] + 1) << "a line of thread " << thread << " is missing";
        }

        lastSeen[thread] = index;
        ++checked;
    }

    // Trims drop the oldest lines only: every thread's last line is kept.
    ASSERT_EQ ((int) lastSeen.size(), threadsPerWriter * 2);

    for (auto& [thread, last] : lastSeen)
        EXPECT_EQ (last, linesPerThread - 1) << "thread " << thread;

    EXPECT_GT (checked, 1000);
}

TEST (DiagnosticLog, WriteLogGoesToVamrelundFolderInUserApplicationData)
{
    writeLog ("probe line for the location test");

    const auto file = generalLogWriter().getFile();
    EXPECT_EQ (file.getFileName(), "VDS.txt");
    EXPECT_EQ (file.getParentDirectory().getFileName(), "Vamrelund");
    EXPECT_TRUE (readAll (file).contains (" probe line for the location test\r\n"));
}
