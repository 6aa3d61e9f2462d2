#include "log/DiagnosticLog.h"
#include "platform/Locations.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

// The log of the elevated app belongs to the account that runs it: its
// roaming application data folder, as Windows tells every program.
TEST (LogLocationWindows, LogGoesToTheRoamingApplicationDataFolder)
{
    ScopedEnvironmentVariable noSandbox (Locations::sandboxVariable, {});
    const juce::File roaming (juce::SystemStats::getEnvironmentVariable ("APPDATA", {}));
    ASSERT_TRUE (roaming.isDirectory()) << roaming.getFullPathName();

    EXPECT_EQ (logFileLocation().getFullPathName(), roaming.getFullPathName() + "\\Vamrelund\\VDS.txt");
}

TEST (LogLocationWindows, WriterInASandboxWritesCrLfLinesThere)
{
    ScopedSandbox sandbox;
    const auto file = logFileLocation();
    EXPECT_EQ (file.getFullPathName(), sandbox.root().getFullPathName() + "\\AppData\\Vamrelund\\VDS.txt");

    LogWriter writer (file);
    writer.write ("line from the Windows build");

    juce::MemoryBlock bytes;
    ASSERT_TRUE (file.loadFileAsData (bytes));
    const auto text = bytes.toString();
    EXPECT_TRUE (text.endsWith (" line from the Windows build\r\n")) << text;
    EXPECT_FALSE (text.contains ("\r\r\n"));
}
