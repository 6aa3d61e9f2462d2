#include "cloud/DownloadLocations.h"

#include <gtest/gtest.h>

TEST (DownloadBodies, OrdinaryValuesGiveTheExactBodies)
{
    EXPECT_EQ (VRCloud::pluginResourceBody ("mysynth", "1.2.3", "", false),
               "{\n\"name\": \"mysynth\",\n\"platform\": \"Windows\",\n\"version\": \"1.2.3\"\n}");
    EXPECT_EQ (VRCloud::pluginResourceBody ("mysynth", "1.2.3", "57", false),
               "{\n\"name\": \"mysynth\",\n\"platform\": \"Windows\",\n\"version\": \"1.2.3\",\n\"build\": 57\n}");
    EXPECT_EQ (VRCloud::pluginResourceBody ("exp-one", "2.0.0", "3", true),
               "{\n\"name\": \"exp-one\",\n\"platform\": \"macOS/Windows\",\n\"version\": \"2.0.0\",\n\"build\": 3\n}");
    EXPECT_EQ (VRCloud::manualResourceBody ("mysynth"), "{\n\"name\": \"mysynth\"\n}");
}

TEST (DownloadBodies, QuotesAndBackslashesStayValidJson)
{
    const juce::String name ("my \"quoted\" \\ synth\n");
    const juce::String version ("1.0\"");

    for (auto body : { VRCloud::pluginResourceBody (name, version, "57", false),
                       VRCloud::pluginResourceBody (name, version, "12 beta", false),
                       VRCloud::manualResourceBody (name) })
    {
        juce::var parsed;
        ASSERT_TRUE (juce::JSON::parse (body, parsed).wasOk()) << body;
        EXPECT_EQ (parsed["name"].toString(), name) << body;
    }

    juce::var parsed;
    ASSERT_TRUE (juce::JSON::parse (VRCloud::pluginResourceBody (name, version, "12 beta", false), parsed).wasOk());
    EXPECT_EQ (parsed["version"].toString(), version);
    EXPECT_EQ (parsed["build"].toString(), "12 beta");
}
