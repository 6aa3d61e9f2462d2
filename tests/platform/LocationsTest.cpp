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
