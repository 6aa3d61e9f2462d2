#include "platform/Locations.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

TEST (LocationsWindows, WithoutSandboxPlacesAreTheLiteralWindowsFolders)
{
    ScopedEnvironmentVariable noSandbox (Locations::sandboxVariable, {});
    ASSERT_EQ (Locations::sandboxRoot(), juce::File());

    struct Case { juce::File actual; const char* expected; };
    const Case cases[] = {
        { Locations::driveRoot().getChildFile ("x"), "C:\\x" },
        { Locations::dataFolder(),        "C:\\ProgramData\\Vamrelund" },
        { Locations::downloadsFolder(),   "C:\\Program Files\\Vamrelund\\Helper\\downloads" },
        { Locations::commonFilesFolder(), "C:\\Program Files\\Common Files" },
        { Locations::defaultVst3Folder(), "C:\\Program Files\\Common Files\\VST3" },
        { Locations::defaultAaxFolder(),  "C:\\Program Files\\Common Files\\Avid\\Audio\\Plug-Ins" },
        { Locations::defaultVst2Folder(), "C:\\Program Files\\Steinberg\\VSTPlugins" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (c.actual.getFullPathName(), juce::String (c.expected));

    // JUCE keeps a drive root without its trailing backslash.
    EXPECT_EQ (Locations::driveRoot(), juce::File ("C:\\"));
}

TEST (LocationsWindows, WithoutSandboxSystemFoldersComeFromWindows)
{
    ScopedEnvironmentVariable noSandbox (Locations::sandboxVariable, {});

    // C:\ProgramData on a standard system, looked up rather than spelt out.
    const auto common = juce::File::getSpecialLocation (juce::File::commonApplicationDataDirectory);
    EXPECT_EQ (Locations::commonApplicationData(), common);
    EXPECT_TRUE (common.getFullPathName().equalsIgnoreCase ("C:\\ProgramData")) << common.getFullPathName();
    EXPECT_EQ (Locations::settingsFolder().getFullPathName(), common.getFullPathName() + "\\Vamrelund\\Vamrelund Helper");

    // The roaming application data folder, as Windows tells every program.
    const juce::File roaming (juce::SystemStats::getEnvironmentVariable ("APPDATA", {}));
    ASSERT_TRUE (roaming.isDirectory()) << roaming.getFullPathName();
    EXPECT_EQ (Locations::userApplicationData(), roaming);
    EXPECT_TRUE (roaming.getFullPathName().endsWithIgnoreCase ("\\AppData\\Roaming")) << roaming.getFullPathName();

    EXPECT_EQ (Locations::userDocuments(), juce::File::getSpecialLocation (juce::File::userDocumentsDirectory));
}

TEST (LocationsWindows, SandboxGivenAsWindowsPathHoldsEveryPlace)
{
    ScopedSandbox sandbox;
    EXPECT_TRUE (sandbox.root().getFullPathName().containsChar ('\\'));
    EXPECT_EQ (Locations::dataFolder().getFullPathName(), sandbox.root().getFullPathName() + "\\ProgramData\\Vamrelund");
    EXPECT_EQ (Locations::userApplicationData().getFullPathName(), sandbox.root().getFullPathName() + "\\AppData");
}
