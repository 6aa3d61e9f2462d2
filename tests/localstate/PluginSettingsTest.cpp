#include "localstate/PluginSettings.h"
#include "platform/Locations.h"
#include "support/LogCapture.h"
#include "support/SettingsFileChecks.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    const juce::String solvkant (juce::CharPointer_UTF8 ("S\xc3\xb8lvkant"));

    // Writes a settings file the way a plugin does.
    void writeAsPlugin (const juce::String& title, const juce::String& key, const juce::StringPairArray& values)
    {
        juce::PropertiesFile file (pluginSettingsFile (title, key), pluginSettingsOptions (title, key));

        for (auto& name : values.getAllKeys())
            file.setValue (name, values[name]);

        ASSERT_TRUE (file.save());
    }
}

TEST (PluginSettings, OptionsAndLocation)
{
    ScopedSandbox sandbox;
    const auto options = pluginSettingsOptions ("My Synth", "mysynth");

    EXPECT_EQ (options.applicationName, "mysynth");
    EXPECT_EQ (options.folderName, "Vamrelund/My Synth");
    EXPECT_TRUE (options.commonToAllUsers);
    EXPECT_EQ (options.storageFormat, juce::PropertiesFile::storeAsCompressedBinary);
    expectSharedSettingsFileOptions (options);

    EXPECT_EQ (pluginSettingsFile ("My Synth", "mysynth"),
               sandbox.root().getChildFile ("ProgramData/Vamrelund/My Synth/mysynth.settings")) << "spaces kept";

    EXPECT_EQ (pluginSettingsOptions (solvkant, "s").folderName, "Vamrelund/S0lvkant");
    EXPECT_EQ (pluginSettingsFile (solvkant, "solvkant"), Locations::pluginSettingsRoot().getChildFile ("S0lvkant/solvkant.settings"));

    for (auto [title, key] : { std::pair { "..", "k" }, { "A/B", "k" }, { "", "k" }, { "Fine", "../k" }, { "Fine", "" } })
        EXPECT_EQ (pluginSettingsFile (title, key), juce::File()) << title << " / " << key;
}

TEST (PluginSettings, ReadingLogsEveryKeyAndValue)
{
    ScopedSandbox sandbox;
    juce::StringPairArray values;
    values.set ("build", "1234");
    values.set ("theme", "dark");
    writeAsPlugin ("My Synth", "mysynth", values);

    const auto file = pluginSettingsFile ("My Synth", "mysynth");
    juce::FileInputStream raw (file);
    EXPECT_EQ (raw.readInt(), (int) juce::ByteOrder::makeInt ('C', 'P', 'R', 'P')) << "compressed binary, as the plugins keep it";

    LogCapture log;
    EXPECT_EQ (readPluginSetting ("My Synth", "mysynth", "build"), "1234");
    EXPECT_EQ (readPluginSetting ("My Synth", "mysynth", "Build"), "") << "key names are case-sensitive";

    const auto lines = log.messages();
    const auto first = lines.indexOf ("PropertiesFile2 " + file.getFullPathName());
    ASSERT_GE (first, 0) << lines.joinIntoString ("\n");

    // Keys first, then values, in the file's order.
    const juce::StringArray expected { "prop key: build", "prop key: theme", "prop value: 1234", "prop value: dark" };

    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ (lines[first + 1 + i], expected[i]);
}

TEST (PluginSettings, MissingOrUnreadableFilesReadAsEmpty)
{
    ScopedSandbox sandbox;
    EXPECT_EQ (readPluginSetting ("Nothing", "nothing", "build"), "");
    EXPECT_FALSE (Locations::pluginSettingsRoot().getChildFile ("Nothing").exists()) << "reading creates nothing";

    const auto garbage = pluginSettingsFile ("Broken", "broken");
    ASSERT_TRUE (garbage.create());
    ASSERT_TRUE (garbage.replaceWithText ("not a settings file"));
    EXPECT_EQ (readPluginSetting ("Broken", "broken", "build"), "");
    EXPECT_EQ (garbage.loadFileAsString(), "not a settings file");
}

TEST (PluginSettings, SetLocalBuildWritesOnlyTheBuild)
{
    ScopedSandbox sandbox;
    juce::StringPairArray values;
    values.set ("theme", "dark");
    writeAsPlugin (solvkant, "solvkant", values);

    LogCapture log;
    setLocalBuild (solvkant, "solvkant", "77");
    EXPECT_TRUE (log.contains ("VRProduct setLocalBuild... " + solvkant + " : 77"));

    // Saved at once, beside the plugin's own keys, in the aliased folder.
    juce::PropertiesFile reread (pluginSettingsFile (solvkant, "solvkant"), pluginSettingsOptions (solvkant, "solvkant"));
    EXPECT_TRUE (reread.getFile().getFullPathName().contains ("S0lvkant"));
    EXPECT_EQ (reread.getValue ("build"), "77");
    EXPECT_EQ (reread.getValue ("theme"), "dark");
    EXPECT_EQ (readPluginSetting (solvkant, "solvkant", "build"), "77");

    // A fresh plugin without a file gets one.
    setLocalBuild ("New One", "newone", "5");
    EXPECT_EQ (readPluginSetting ("New One", "newone", "build"), "5");
}

TEST (PluginSettings, SetLocalBuildLeavesFilesAloneWhenItShould)
{
    ScopedSandbox sandbox;

    LogCapture log;
    setLocalBuild ("Empty Build", "emptybuild", "");
    EXPECT_TRUE (log.contains ("VRProduct setLocalBuild... Empty Build : "));
    EXPECT_FALSE (pluginSettingsFile ("Empty Build", "emptybuild").exists());

    // A file we cannot read keeps its content rather than being replaced by one key.
    const auto unreadable = pluginSettingsFile ("Odd", "odd");
    ASSERT_TRUE (unreadable.create());
    ASSERT_TRUE (unreadable.replaceWithText ("some other format"));
    setLocalBuild ("Odd", "odd", "9");
    EXPECT_EQ (unreadable.loadFileAsString(), "some other format");

    // Names that would leave the settings root write nothing anywhere.
    setLocalBuild ("../../Escaped", "escaped", "9");
    EXPECT_FALSE (sandbox.root().getChildFile ("Escaped").exists());
    EXPECT_FALSE (sandbox.root().getChildFile ("ProgramData/Escaped").exists());
}
