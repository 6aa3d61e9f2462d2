#include "platform/Locations.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

TEST (Locations, SandboxRootHoldsEveryPlace)
{
    ScopedSandbox sandbox;
    const auto& root = sandbox.root();

    struct Case { juce::File actual; const char* relative; };
    const Case cases[] = {
        { Locations::driveRoot(),             "" },
        { Locations::commonApplicationData(), "ProgramData" },
        { Locations::dataFolder(),            "ProgramData/Vamrelund" },
        { Locations::settingsFolder(),        "ProgramData/Vamrelund/Vamrelund Helper" },
        { Locations::pluginSettingsRoot(),    "ProgramData/Vamrelund" },
        { Locations::resourceFolder(),        "ProgramData/Application Support/Vamrelund" },
        { Locations::downloadsFolder(),       "Program Files/Vamrelund/Helper/downloads" },
        { Locations::commonFilesFolder(),     "Program Files/Common Files" },
        { Locations::defaultVst3Folder(),     "Program Files/Common Files/VST3" },
        { Locations::defaultAaxFolder(),      "Program Files/Common Files/Avid/Audio/Plug-Ins" },
        { Locations::defaultVst2Folder(),     "Program Files/Steinberg/VSTPlugins" },
        { Locations::userApplicationData(),   "AppData" },
        { Locations::userDocuments(),         "Documents" },
        { Locations::userDataHome(),          "xdg/data" },
        { Locations::userConfigHome(),        "xdg/config" },
    };

    for (const auto& c : cases)
    {
        auto expected = root;

        for (auto& name : juce::StringArray::fromTokens (c.relative, "/", {}))
            expected = expected.getChildFile (name);

        EXPECT_EQ (c.actual, expected) << c.relative;
    }
}

TEST (Locations, RelativeOrEmptySandboxIsIgnored)
{
    for (auto value : { "", "   ", "relative/folder" })
    {
        ScopedEnvironmentVariable variable (Locations::sandboxVariable, value);
        EXPECT_EQ (Locations::sandboxRoot(), juce::File()) << value;
        EXPECT_NE (Locations::dataFolder().getFullPathName(), juce::String());
    }
}

TEST (Locations, RegistryClassesMoveBelowAKeyOfTheirOwnInASandbox)
{
    {
        ScopedEnvironmentVariable noSandbox (Locations::sandboxVariable, {});
        EXPECT_EQ (Locations::userClassesKey(), "Software\\Classes");
        EXPECT_EQ (Locations::sandboxRegistryKey(), juce::String());
    }

    ScopedSandbox sandbox;
    const auto key = Locations::sandboxRegistryKey();
    EXPECT_TRUE (key.startsWith ("Software\\Vamrelund Helper Sandbox\\" + sandbox.root().getFileName() + " ")) << key;
    EXPECT_EQ (Locations::userClassesKey(), key + "\\Classes");

    // Two sandboxes with the same folder name get keys of their own.
    const auto twin = sandbox.root().getChildFile ("other").getChildFile (sandbox.root().getFileName());
    ScopedEnvironmentVariable elsewhere (Locations::sandboxVariable, twin.getFullPathName());
    EXPECT_NE (Locations::sandboxRegistryKey(), key);
    EXPECT_TRUE (Locations::sandboxRegistryKey().contains (twin.getFileName()));
}
