// Several processes write one log file at once: a link-started process next
// to the running instance, or the two processes of a self-update.
#include "log/DiagnosticLog.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace
{
    const char* const fileVariable = "VAMRHELPER_LOG_CHILD_FILE";
    const char* const tagVariable = "VAMRHELPER_LOG_CHILD_TAG";
    constexpr int linesPerProcess = 300;

    juce::String payload() { return juce::String::repeatedString ("q", 300); }
}

// Runs only inside the child processes started below.
TEST (LogAcrossProcessesChild, WritesItsLines)
{
    const auto path = juce::SystemStats::getEnvironmentVariable (fileVariable, {});
    const auto tag = juce::SystemStats::getEnvironmentVariable (tagVariable, {});

    if (path.isEmpty())
        GTEST_SKIP() << "runs only as a child of LogAcrossProcesses";

    LogWriter writer { juce::File (path) };

    for (int i = 0; i < linesPerProcess; ++i)
        writer.write (tag + " n" + juce::String (i) + " " + payload() + " end");
}

TEST (LogAcrossProcesses, NoLineIsOverwrittenOrSplit)
{
    ScopedSandbox sandbox;
    const auto logFile = sandbox.root().getChildFile ("VDS.txt");
    const auto self = juce::File::getSpecialLocation (juce::File::currentExecutableFile);
    ScopedEnvironmentVariable file (fileVariable, logFile.getFullPathName());

    constexpr int processes = 3;
    std::vector<std::unique_ptr<juce::ChildProcess>> children;

    for (int p = 0; p < processes; ++p)
    {
        ScopedEnvironmentVariable tag (tagVariable, "p" + juce::String (p));
        children.push_back (std::make_unique<juce::ChildProcess>());
        ASSERT_TRUE (children.back()->start (juce::StringArray { self.getFullPathName(), "--gtest_filter=LogAcrossProcessesChild.*" }, 0));
    }

    for (auto& child : children)
        ASSERT_TRUE (child->waitForProcessToFinish (60000));

    std::map<juce::String, int> next;
    int headers = 0;

    for (auto line : juce::StringArray::fromTokens (logFile.loadFileAsString(), "\n", {}))
    {
        line = line.trimCharactersAtEnd ("\r");

        if (line.isEmpty() || line.startsWith ("*") || line == "VDS log" || line.startsWith ("Log started: "))
        {
            headers += line.startsWith ("Log started: ") ? 1 : 0;
            continue;
        }

        // "<stamp> p<process> n<index> <payload> end", whole and in order per process.
        const auto parts = juce::StringArray::fromTokens (line, " ", {});
        ASSERT_EQ (parts.size(), 5) << line.substring (0, 120);
        ASSERT_TRUE (parts[0].containsOnly ("0123456789")) << line.substring (0, 120);
        ASSERT_EQ (parts[3], payload()) << line.substring (0, 120);
        ASSERT_EQ (parts[4], "end") << line.substring (0, 120);
        EXPECT_EQ (parts[2], "n" + juce::String (next[parts[1]]++)) << "a line of " << parts[1] << " is missing";
    }

    EXPECT_EQ (headers, processes);
    ASSERT_EQ ((int) next.size(), processes);

    for (auto& [process, count] : next)
        EXPECT_EQ (count, linesPerProcess) << process;
}
