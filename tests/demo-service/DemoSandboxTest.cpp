#include "app/settings/SettingsKeys.h"
#include "app/settings/SettingsStore.h"
#include "cloud/ProductList.h"
#include "localstate/PluginSettings.h"
#include "localstate/RowRules.h"
#include "platform/Locations.h"
#include "sandbox/DemoSandbox.h"
#include "support/TestEnvironment.h"

#include <demoservice/DemoService.h>

#include <gtest/gtest.h>

namespace
{
    /** A sandbox and the demo manifest; pre-installs and reads the products
        page's rows the way the app builds them after a fetch. */
    struct DemoSandbox : public ::testing::Test
    {
        ScopedSandbox sandbox;
        std::filesystem::path data = demoservice::defaultDataFolder();
        demoservice::Manifest manifest = loadManifest();

        demoservice::Manifest loadManifest()
        {
            std::string error;
            auto loaded = demoservice::loadManifest (data / "catalogue.json", error);
            EXPECT_TRUE (loaded.has_value()) << error;
            return loaded ? *loaded : demoservice::Manifest();
        }

        juce::Result preinstall (const std::string& request, juce::StringArray* written = nullptr)
        {
            juce::StringArray paths;
            auto parsed = demosandbox::PreinstallRequest::parse (request);
            EXPECT_TRUE (parsed.has_value()) << request;
            auto result = demosandbox::preinstall (manifest, data, parsed.value_or (demosandbox::PreinstallRequest()),
                                                   demosandbox::formatSettingsInUse(), paths);
            if (written != nullptr)
                *written = paths;
            return result;
        }

        std::vector<ProductRow> rows()
        {
            std::vector<VRCloud::Product> products;

            for (const auto& p : manifest.products)
                products.push_back (VRCloud::parseProduct (juce::JSON::parse (juce::String::fromUTF8 (p.members.dump().c_str()))));

            return VRCloud::prepareProductRows (products, demosandbox::formatSettingsInUse());
        }

        ProductRow row (const juce::String& title)
        {
            for (auto& r : rows())
                if (r.title == title && ! r.isExpansion())
                    return r;

            ADD_FAILURE() << "no row " << title;
            return {};
        }

        /** Writes the app's settings file as the settings page leaves it. */
        static void setAppSetting (const juce::String& key, const juce::var& value)
        {
            juce::PropertiesFile store (settingsFileLocation(), settingsFileOptions());
            store.setValue (key, value);
            ASSERT_TRUE (settingsFileLocation().getParentDirectory().createDirectory());
            ASSERT_TRUE (store.save());
        }

        juce::StringArray filesBelow (const juce::File& folder) const
        {
            juce::StringArray names;
            for (auto& f : folder.findChildFiles (juce::File::findFiles, true))
                names.add (f.getRelativePathFrom (sandbox.root()));
            names.sort (false);
            return names;
        }
    };
}

TEST_F (DemoSandbox, CurrentAndOlderBuildsShowAsInstalledAndAsUpdate)
{
    ASSERT_TRUE (preinstall ("aurora9").wasOk());
    ASSERT_TRUE (preinstall ("mysynth=1.2.3").wasOk());

    const auto current = row ("Aurora 9");
    EXPECT_TRUE (isInstalled (current));
    EXPECT_TRUE (allOfferedFormatsInstalled (current));
    EXPECT_FALSE (needsUpdate (current));
    EXPECT_EQ (installedVersionText (current, true), "v2.1.0(210)");

    const auto older = row ("My Synth");
    EXPECT_TRUE (isInstalled (older));
    EXPECT_TRUE (needsUpdate (older));
    EXPECT_EQ (installedVersionText (older, true), "v1.2.3(50)");

    EXPECT_FALSE (isInstalled (row ("Lumo")));

    // The placement's other half: resource files in the product's data
    // folder, and the AAX bundle with its binary inside.
    EXPECT_TRUE (Locations::dataFolder().getChildFile ("My Synth/Factory Presets/Warm.preset").existsAsFile());
    EXPECT_TRUE (Locations::defaultAaxFolder().getChildFile ("Aurora9.aaxplugin/Contents/x64/Aurora9.aaxplugin").existsAsFile());
}

TEST_F (DemoSandbox, RunningAgainGivesTheSameFilesAndAnotherBuildReplacesTheFirst)
{
    juce::StringArray firstWritten, againWritten;
    ASSERT_TRUE (preinstall ("mysynth=1.2.3", &firstWritten).wasOk());
    const auto firstFiles = filesBelow (sandbox.root());

    // A file of some other build inside the bundle must not survive.
    const auto stray = Locations::defaultAaxFolder().getChildFile ("MySynth.aaxplugin/Contents/x64/old.dll");
    ASSERT_TRUE (stray.replaceWithText ("old"));

    ASSERT_TRUE (preinstall ("mysynth=1.2.3", &againWritten).wasOk());
    EXPECT_EQ (againWritten, firstWritten);
    EXPECT_EQ (filesBelow (sandbox.root()), firstFiles);
    EXPECT_TRUE (needsUpdate (row ("My Synth")));

    ASSERT_TRUE (preinstall ("mysynth").wasOk());
    const auto updated = row ("My Synth");
    EXPECT_FALSE (needsUpdate (updated));
    EXPECT_EQ (installedVersionText (updated, true), "v1.3.0(57)");
}

TEST_F (DemoSandbox, FollowsTheFormatSettingsOfTheApp)
{
    const auto vst3Folder = sandbox.root().getChildFile ("My VST3");
    setAppSetting ("dllActive", false);
    setAppSetting ("vst3Path", vst3Folder.getFullPathName());
    const auto settingsBefore = settingsFileLocation().loadFileAsString();

    juce::StringArray written;
    ASSERT_TRUE (preinstall ("kvistcomp", &written).wasOk());

    EXPECT_TRUE (vst3Folder.getChildFile ("KvistComp.vst3").existsAsFile());
    EXPECT_FALSE (Locations::defaultVst3Folder().getChildFile ("KvistComp.vst3").exists());
    EXPECT_FALSE (Locations::defaultVst2Folder().getChildFile ("KvistComp.dll").exists());
    EXPECT_FALSE (written.joinIntoString ("\n").contains (".dll"));

    const auto r = row ("Kvist Comp");
    EXPECT_TRUE (allOfferedFormatsInstalled (r));
    EXPECT_EQ (installedVersionText (r, false), "v10.0.1");

    // Reading the settings did not rewrite them.
    EXPECT_EQ (settingsFileLocation().loadFileAsString(), settingsBefore);
}

TEST_F (DemoSandbox, RefusesWhatItCannotPlaceAndWritesNothing)
{
    struct Case { const char* request; const char* reason; };
    const Case cases[] = {
        { "nosuchsynth",       "no product" },
        { "mysynth=9.9.9",     "no version 9.9.9" },
        { "winterpads",        "expansion" },
    };

    for (const auto& c : cases)
    {
        const auto result = preinstall (c.request);
        EXPECT_TRUE (result.failed()) << c.request;
        EXPECT_TRUE (result.getErrorMessage().contains (c.reason)) << c.request << ": " << result.getErrorMessage();
    }

    EXPECT_FALSE (demosandbox::PreinstallRequest::parse ("mysynth=").has_value());
    EXPECT_FALSE (demosandbox::PreinstallRequest::parse ("=1.2.3").has_value());

    {
        // Without a sandbox the plugin folders would be the user's own.
        ScopedEnvironmentVariable noSandbox (Locations::sandboxVariable, {});
        const auto result = preinstall ("mysynth");
        EXPECT_TRUE (result.getErrorMessage().contains (Locations::sandboxVariable)) << result.getErrorMessage();
        EXPECT_TRUE (demosandbox::storeSignIn ("demo@example.com", "t").failed());
    }

    // An archive that is missing (data not generated) is reported, not half-placed.
    data = sandbox.root().getChildFile ("no-data").getFullPathName().toStdString();
    EXPECT_TRUE (preinstall ("mysynth").getErrorMessage().contains ("cannot read the archive"));

    EXPECT_TRUE (filesBelow (sandbox.root()).isEmpty());
}

TEST_F (DemoSandbox, StoredSignInIsWhatTheAppReadsAtStart)
{
    setAppSetting ("vst3Path", "/somewhere/VST3");
    ASSERT_TRUE (demosandbox::storeSignIn ("demo@example.com", "token-123").wasOk());

    juce::PropertiesFile store (settingsFileLocation(), settingsFileOptions());
    EXPECT_EQ (Settings::getToken (store), "token-123");
    EXPECT_EQ (Settings::getEmail (store), "demo@example.com");
    EXPECT_TRUE (Settings::hasAcceptedTerms (store));
    EXPECT_EQ (store.getValue ("vst3Path"), "/somewhere/VST3");
}
