#include "cloud/InstallTargets.h"
#include "localstate/RowRules.h"
#include "platform/Locations.h"
#include "support/LogCapture.h"
#include "support/PeFiles.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    struct InstalledState : public ::testing::Test
    {
        ScopedSandbox sandbox;
        FormatSettings settings = loadedSettings();

        static FormatSettings loadedSettings()
        {
            juce::PropertiesFile store (Locations::settingsFolder().getChildFile ("test.settings"), {});
            FormatSettings s;
            loadFormatSettings (s, store);
            return s;
        }

        VRCloud::Product product (const juce::String& title, const juce::String& name, const juce::String& localKey)
        {
            VRCloud::Product p;
            p.title = title;
            p.name = name;
            p.local_key_name = localKey;
            return p;
        }

        juce::File fileOf (const VRCloud::Product& p, PluginFormat format) const
        {
            return p.getFormatFile (format, settings);
        }

        void installPe (const VRCloud::Product& p, PluginFormat format, std::array<std::uint16_t, 4> version)
        {
            auto options = testDll (version);
            ASSERT_TRUE (writePeFile (fileOf (p, format), options));
        }

        // A bundle: the format's name is a folder holding the binary.
        void installBundle (const VRCloud::Product& p, PluginFormat format)
        {
            const auto bundle = fileOf (p, format);
            ASSERT_TRUE (writePeFile (bundle.getChildFile ("Contents/x86_64-win").getChildFile (bundle.getFileName()), testDll()));
        }

        void installResources (const VRCloud::Product& p)
        {
            const auto file = fileOf (p, PluginFormats::resources);
            ASSERT_TRUE (file.getParentDirectory().createDirectory());
            ASSERT_TRUE (file.replaceWithText ("assets"));
        }

        // The row as list preparation makes it, reduced to what the rules read.
        ProductRow rowFor (VRCloud::Product p, const char* catalogueVersion, const char* group = "public",
                           const char* build = "11", const char* installedBuild = "11",
                           juce::StringArray formats = { "aax", "vst", "vst3" })
        {
            p.checkLocalVersions (settings);

            ProductRow row;
            row.title = p.title;
            row.name = p.name;
            row.version = parseVersion (catalogueVersion);
            row.build = build;
            row.installedBuild = installedBuild;
            row.build_group = group;
            row.formats = formats;
            row.targets = makeInstallTargets (p, settings);
            return row;
        }
    };
}

TEST_F (InstalledState, CheckLocalVersionsReadsEveryPresentFormat)
{
    auto p = product ("My Synth", "mysynth", "mysynth");
    installBundle (p, PluginFormats::aax);
    installPe (p, PluginFormats::vst2, { 1, 2, 3, 4 });
    installPe (p, PluginFormats::vst3, { 2, 0, 1, 0 });     // single-file VST3
    installResources (p);

    LogCapture log;
    p.checkLocalVersions (settings);

    EXPECT_EQ (p.localVersions[PluginFormats::aax], (VersionNumber { 1, 1, 0, 0 })) << "a bundle folder has no version resource";
    EXPECT_EQ (p.localVersions[PluginFormats::vst2], (VersionNumber { 0, 1, 2, 3 }));
    EXPECT_EQ (p.localVersions[PluginFormats::vst3], (VersionNumber { 0, 2, 0, 1 }));
    EXPECT_EQ (p.localVersions[PluginFormats::resources], (VersionNumber { 1, 1, 0, 0 }));

    juce::StringArray versionLines;

    for (auto& line : log.messages())
        if (line.startsWith ("local_versions_ "))
            versionLines.add (line);

    EXPECT_EQ (versionLines, juce::StringArray ({ "local_versions_ My Synth 1.0.0", "local_versions_ My Synth 1.2.3",
                                                  "local_versions_ My Synth 2.0.1", "local_versions_ My Synth 1.0.0" }));
}

TEST_F (InstalledState, CheckLocalVersionsLeavesAbsentFormatsAlone)
{
    auto p = product ("Other", "other", "other");
    auto noResource = testDll();
    noResource.withVersionResource = false;
    ASSERT_TRUE (writePeFile (fileOf (p, PluginFormats::vst2), noResource));

    p.localVersions[PluginFormats::aax] = { 0, 9, 9, 9 };

    LogCapture log;
    p.checkLocalVersions (settings);

    EXPECT_EQ (p.localVersions[PluginFormats::aax], (VersionNumber { 0, 9, 9, 9 }));
    EXPECT_EQ (p.localVersions[PluginFormats::vst2], VersionNumber()) << "a binary without a version resource";
    EXPECT_EQ (p.localVersions[PluginFormats::vst3], VersionNumber());
    EXPECT_EQ (log.count ("local_versions_ Other 1.0.0"), 1);
}

TEST_F (InstalledState, TargetsFollowTheActiveFormats)
{
    auto p = product ("My Synth", "mysynth", "mysynth");
    p.localVersions[PluginFormats::vst3] = { 0, 1, 2, 3 };

    auto formatsOf = [] (const std::vector<InstallTarget>& targets)
    {
        std::vector<PluginFormat> formats;
        for (auto& t : targets)
            formats.push_back (t.format);
        return formats;
    };

    auto targets = makeInstallTargets (p, settings);
    ASSERT_EQ (formatsOf (targets), (std::vector<PluginFormat> { 0, 1, 2, 3 }));

    for (auto& t : targets)
        EXPECT_EQ (t.file, fileOf (p, t.format));

    EXPECT_EQ (targets[2].version, (VersionNumber { 0, 1, 2, 3 }));

    settings.active[PluginFormats::vst2] = false;
    EXPECT_EQ (formatsOf (makeInstallTargets (p, settings)), (std::vector<PluginFormat> { 0, 2, 3 }));

    settings.active[PluginFormats::aax] = settings.active[PluginFormats::vst3] = false;
    EXPECT_EQ (formatsOf (makeInstallTargets (p, settings)), (std::vector<PluginFormat> { 3 })) << "resources always";
}

TEST_F (InstalledState, LumoHasNoVst2File)
{
    auto lumo = product ("Lumo", "lumo", "lumo");
    installPe (lumo, PluginFormats::vst2, { 4, 0, 0, 0 });
    installPe (lumo, PluginFormats::vst3, { 4, 0, 0, 0 });
    lumo.checkLocalVersions (settings);
    ASSERT_TRUE (lumo.localVersions[PluginFormats::vst2].isValid()) << "its versions are still read";

    const auto targets = makeInstallTargets (lumo, settings);
    ASSERT_EQ (targets.size(), 4u);
    EXPECT_EQ (targets[1].format, PluginFormats::vst2);
    EXPECT_EQ (targets[1].file, juce::File());
    EXPECT_EQ (targets[1].version, VersionNumber());
    EXPECT_EQ (targets[2].file, fileOf (lumo, PluginFormats::vst3));

    // Only the exact name.
    auto other = product ("Lumo", "Lumo", "lumo");
    EXPECT_EQ (makeInstallTargets (other, settings)[1].file, fileOf (other, PluginFormats::vst2));
}

TEST_F (InstalledState, UpdateRule)
{
    struct Case
    {
        const char* label;
        std::array<std::uint16_t, 4> vst3;
        const char* catalogue;
        const char* group;
        const char* build;
        const char* installedBuild;
        bool expected;
    };

    const Case cases[] = {
        { "older version, public",              { 1, 2, 3, 0 }, "1.3.0",  "public", "11", "11", true },
        { "same version, public, other build",  { 1, 3, 0, 0 }, "1.3.0",  "public", "11", "10", false },
        { "same version, beta, other build",    { 1, 3, 0, 0 }, "1.3.0",  "beta",   "11", "10", true },
        { "same version, beta, same build",     { 1, 3, 0, 0 }, "1.3.0",  "beta",   "11", "11", false },
        { "group compared in lower case",       { 1, 3, 0, 0 }, "1.3.0",  "Public", "11", "10", false },
        { "build compared as text",             { 1, 3, 0, 0 }, "1.3.0",  "beta",   "011", "11", true },
        { "newer installed: numbers compare",   { 10, 0, 1, 0 }, "9.9.9", "public", "1", "1",   false },
        { "older installed: numbers compare",   { 9, 9, 9, 0 }, "10.0.1", "public", "1", "1",   true },
        { "unparseable catalogue still compared", { 0, 9, 0, 0 }, "soon", "public", "1", "1",   true },
        { "newer than an unparseable catalogue", { 1, 0, 0, 0 }, "soon",  "public", "1", "1",   false },
    };

    for (const auto& c : cases)
    {
        ScopedSandbox fresh;
        settings = loadedSettings();
        auto p = product ("Synth", "synth", "synth");
        installPe (p, PluginFormats::vst3, c.vst3);

        const auto row = rowFor (p, c.catalogue, c.group, c.build, c.installedBuild);
        ASSERT_TRUE (isInstalled (row)) << c.label;
        EXPECT_EQ (needsUpdate (row), c.expected) << c.label;
    }
}

TEST_F (InstalledState, InvalidOrUnofferedFormatsNeverAskForAnUpdate)
{
    auto p = product ("Synth", "synth", "synth");
    auto noResource = testDll();
    noResource.withVersionResource = false;
    ASSERT_TRUE (writePeFile (fileOf (p, PluginFormats::vst3), noResource));
    installPe (p, PluginFormats::vst2, { 0, 1, 0, 0 });      // very old, but VST2 is not offered

    const auto row = rowFor (p, "5.0.0", "public", "1", "1", { "aax", "vst3" });
    EXPECT_TRUE (isInstalled (row));
    EXPECT_FALSE (needsUpdate (row));

    // Offered, the old VST2 counts.
    EXPECT_TRUE (needsUpdate (rowFor (p, "5.0.0", "public", "1", "1", { "vst", "vst3" })));
}

TEST_F (InstalledState, OnlyResourcesIsNotInstalled)
{
    auto p = product ("Synth", "synth", "synth");
    installResources (p);

    const auto row = rowFor (p, "2.0.0", "beta", "12", "1");
    EXPECT_FALSE (isInstalled (row));
    EXPECT_FALSE (needsUpdate (row)) << "not even with a pre-release build that differs";
    EXPECT_EQ (installedVersionText (row, false), "v1.0.0");
}

TEST_F (InstalledState, OfferedFormatsInstalled)
{
    auto p = product ("Synth", "synth", "synth");
    installBundle (p, PluginFormats::aax);
    installBundle (p, PluginFormats::vst3);

    EXPECT_TRUE (allOfferedFormatsInstalled (rowFor (p, "1.0.0", "public", "1", "1", { "aax", "vst3" })))
        << "the missing VST2 is not offered";
    EXPECT_FALSE (allOfferedFormatsInstalled (rowFor (p, "1.0.0", "public", "1", "1", { "aax", "vst", "vst3" })));
    EXPECT_TRUE (allOfferedFormatsInstalled (rowFor (p, "1.0.0", "public", "1", "1", { "aax", "vst3", "res" })))
        << "resources are not a plugin format";

    // A switched-off format has no target, so it is not asked for.
    settings.active[PluginFormats::vst2] = false;
    EXPECT_TRUE (allOfferedFormatsInstalled (rowFor (p, "1.0.0", "public", "1", "1", { "aax", "vst", "vst3" })));

    // Lumo offering VST2 can never have it.
    auto lumo = product ("Lumo", "lumo", "lumo");
    settings.active[PluginFormats::vst2] = true;
    installBundle (lumo, PluginFormats::vst3);
    EXPECT_FALSE (allOfferedFormatsInstalled (rowFor (lumo, "1.0.0", "public", "1", "1", { "vst", "vst3" })));
    EXPECT_TRUE (allOfferedFormatsInstalled (rowFor (lumo, "1.0.0", "public", "1", "1", { "vst3" })));
}

TEST_F (InstalledState, LowestInstalledVersionIsShown)
{
    auto p = product ("Synth", "synth", "synth");
    installPe (p, PluginFormats::aax, { 1, 2, 0, 0 });
    installPe (p, PluginFormats::vst3, { 1, 3, 0, 0 });

    auto row = rowFor (p, "1.3.0", "beta", "11", "10");
    EXPECT_EQ (installedVersionText (row, false), "v1.2.0");
    EXPECT_EQ (installedVersionText (row, true), "v1.2.0(10)");

    // Invalid versions are skipped: a bundle with no resource next to 2.1.0.
    ScopedSandbox fresh;
    settings = loadedSettings();
    installBundle (p, PluginFormats::aax);
    installPe (p, PluginFormats::vst2, { 2, 1, 0, 0 });
    EXPECT_EQ (installedVersionText (rowFor (p, "3.0.0"), false), "v2.1.0");
}

TEST_F (InstalledState, ExpansionFilesBelowTheParentsDataFolder)
{
    ProductRow row;
    row.title = "Bass Pack";
    row.category = "extension";
    row.parentTitle = "My Synth";
    row.contents = { "Presets/Factory/Init.preset" };

    const auto expected = Locations::dataFolder().getChildFile ("My Synth").getChildFile ("Presets")
                              .getChildFile ("Factory").getChildFile ("Init.preset");
    EXPECT_EQ (expected, sandbox.root().getChildFile ("ProgramData/Vamrelund/My Synth/Presets/Factory/Init.preset"));

    {
        LogCapture log;
        EXPECT_FALSE (checkExtensionAllfilesInstalled (row));
        EXPECT_TRUE (log.contains ("checkExtensionAllfilesInstalled NOT installed: Bass Pack"));
    }

    ASSERT_TRUE (expected.getParentDirectory().createDirectory());
    ASSERT_TRUE (expected.replaceWithText ("preset"));

    {
        LogCapture log;
        EXPECT_TRUE (checkExtensionAllfilesInstalled (row));
        EXPECT_EQ (log.messages(), juce::StringArray ("   destpath " + expected.getFullPathName(),
                                                       "checkExtensionAllfilesInstalled IS installed: Bass Pack"));
    }

    // Entries already written with backslashes name the same file.
    row.contents = { "Presets\\Factory\\Init.preset" };
    EXPECT_TRUE (checkExtensionAllfilesInstalled (row));

    // The first missing entry decides; the ones before it are logged.
    row.contents = { "Presets/Factory/Init.preset", "Samples/Bass.wav", "Presets/Factory/Init.preset" };
    {
        LogCapture log;
        EXPECT_FALSE (checkExtensionAllfilesInstalled (row));
        EXPECT_EQ (log.messages(), juce::StringArray ("   destpath " + expected.getFullPathName(),
                                                       "checkExtensionAllfilesInstalled NOT installed: Bass Pack"));
    }

    // No parent or no contents: never installed.
    row.contents = { "Presets/Factory/Init.preset" };
    row.parentTitle = "";
    EXPECT_FALSE (checkExtensionAllfilesInstalled (row));
    row.parentTitle = "My Synth";
    row.contents.clear();
    EXPECT_FALSE (checkExtensionAllfilesInstalled (row));

    // Another parent's folder does not count.
    row.contents = { "Presets/Factory/Init.preset" };
    row.parentTitle = "Other Synth";
    EXPECT_FALSE (checkExtensionAllfilesInstalled (row));
}
