#include "log/DiagnosticLog.h"
#include "cloud/ServiceConfig.h"
#include "app/settings/SettingsKeys.h"
#include "app/settings/SettingsStore.h"
#include "platform/FolderAccess.h"
#include "platform/Locations.h"
#include "support/SettingsFileChecks.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    struct SettingsFixture : public ::testing::Test
    {
        ScopedSandbox sandbox;
        ScopedEnvironmentVariable service { ServiceConfig::serviceVariable, {} };
        FormatSettings formats;
        std::unique_ptr<juce::PropertiesFile> store = createPropertiesFile (formats);
    };
}

TEST_F (SettingsFixture, MissingFileGivesEveryDefault)
{
    EXPECT_EQ (Settings::getToken (*store), "");
    EXPECT_EQ (Settings::getEmail (*store), "");
    EXPECT_FALSE (Settings::hasAcceptedTerms (*store));
    EXPECT_FALSE (Settings::getUseTestUrl (*store));
    EXPECT_EQ (Settings::getTestUrl (*store), "https://test.vamrelund.com");
    EXPECT_EQ (store->getValue (SettingsKeys::vst2folder), "");
}

TEST_F (SettingsFixture, FileLivesInTheSettingsFolderWithItsOptions)
{
    EXPECT_EQ (store->getFile(), sandbox.root().getChildFile ("ProgramData/Vamrelund/Vamrelund Helper/Vamrelund Helper.settings"));

    const auto options = settingsFileOptions();
    EXPECT_EQ (options.applicationName, "Vamrelund Helper");
    EXPECT_EQ (options.folderName, "Vamrelund");
    EXPECT_FALSE (options.commonToAllUsers);
    EXPECT_EQ (options.storageFormat, juce::PropertiesFile::storeAsXML);
    expectSharedSettingsFileOptions (options);

    juce::MemoryBlock log;
    generalLogWriter().getFile().loadFileAsData (log);
    EXPECT_TRUE (log.toString().contains (" pfile_ <" + store->getFile().getFullPathName() + ">\r\n"));
}

TEST_F (SettingsFixture, ValuesSurviveReopeningAsXml)
{
    store->setValue (SettingsKeys::token, "tok-123");
    store->setValue (SettingsKeys::email, "user@example.com");
    store->setValue (SettingsKeys::acceptedTerms, "YES");
    ASSERT_TRUE (store->saveIfNeeded());
    store.reset();

    store = createPropertiesFile (formats);
    EXPECT_EQ (Settings::getToken (*store), "tok-123");
    EXPECT_EQ (Settings::getEmail (*store), "user@example.com");
    EXPECT_TRUE (Settings::hasAcceptedTerms (*store)) << "yes in capitals counts as accepted";

    auto xml = juce::parseXML (store->getFile());
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "PROPERTIES");
}

TEST_F (SettingsFixture, OpeningLoadsTheFormatSettingsAndSavesTheirKeys)
{
    EXPECT_TRUE (formats.active[2]);
    EXPECT_EQ (formats.path[2], Locations::defaultVst3Folder().getFullPathName() + juce::File::getSeparatorString());

    // The keys written back while loading reach the disk at once.
    juce::PropertiesFile onDisk (settingsFileLocation(), settingsFileOptions());
    EXPECT_EQ (onDisk.getValue ("vst3Path"), formats.path[2]);
    EXPECT_TRUE (onDisk.getBoolValue ("dllActive", false));

    // A stored choice comes back on the next start.
    store->setValue ("dllActive", false);
    store->setValue ("aaxpluginPath", "/plugins/aax");
    store.reset();

    FormatSettings reloaded;
    store = createPropertiesFile (reloaded);
    EXPECT_FALSE (reloaded.active[1]);
    EXPECT_EQ (reloaded.path[0], "/plugins/aax");
}

TEST_F (SettingsFixture, DeletingTheStoreSavesPendingChanges)
{
    store->setValue (SettingsKeys::email, "late@example.com");
    store.reset();

    juce::PropertiesFile reread (settingsFileLocation(), settingsFileOptions());
    EXPECT_EQ (reread.getValue (SettingsKeys::email), "late@example.com");
}

TEST_F (SettingsFixture, ApiBaseFollowsTheTestServerSwitch)
{
    struct Case { const char* useTestUrl; const char* testUrl; const char* expected; };
    const Case cases[] = {
        { nullptr, nullptr,                    "https://www.vamrelund.com/api" },
        { nullptr, "https://other.example",    "https://www.vamrelund.com/api" },   // switch missing: production
        { "0",     "https://other.example",    "https://www.vamrelund.com/api" },
        { "1",     nullptr,                    "https://test.vamrelund.com/api" },  // default test server
        { "1",     "https://other.example",    "https://other.example/api" },
        { "1",     "https://other.example/",   "https://other.example//api" },      // taken as it stands
    };

    for (const auto& c : cases)
    {
        store->clear();

        if (c.useTestUrl != nullptr)  store->setValue (SettingsKeys::useTestUrl, c.useTestUrl);
        if (c.testUrl != nullptr)     store->setValue (SettingsKeys::testUrl, c.testUrl);

        updateApiBase (*store);
        EXPECT_EQ (apiBaseURL(), c.expected) << (c.useTestUrl ? c.useTestUrl : "-") << " " << (c.testUrl ? c.testUrl : "-");
    }
}

TEST_F (SettingsFixture, ServiceVariableReplacesTheProductionOrigin)
{
    ScopedEnvironmentVariable local (ServiceConfig::serviceVariable, "http://127.0.0.1:8123/");
    EXPECT_EQ (ServiceConfig::productionOrigin(), "http://127.0.0.1:8123");

    updateApiBase (*store);
    EXPECT_EQ (apiBaseURL(), "http://127.0.0.1:8123/api");
}

TEST (DataFolder, IsCreatedAndOpenedToTheGroup)
{
    ScopedSandbox sandbox;
    const auto folder = Locations::dataFolder();
    ASSERT_FALSE (folder.exists());

    const auto result = ensureDataFolder();
    ASSERT_TRUE (result.wasOk()) << result.getErrorMessage();
    EXPECT_EQ (folder, sandbox.root().getChildFile ("ProgramData").getChildFile ("Vamrelund"));
    EXPECT_TRUE (folder.isDirectory());

    // A second start with content from elsewhere succeeds too.
    folder.getChildFile ("sub").createDirectory();
    folder.getChildFile ("sub/file.txt").replaceWithText ("x");
    EXPECT_TRUE (ensureDataFolder().wasOk());
}

TEST (DataFolder, ThatCannotBeCreatedNamesFolderAndReason)
{
    ScopedSandbox sandbox;
    // A file where the ProgramData folder should be.
    sandbox.root().getChildFile ("ProgramData").replaceWithText ("in the way");

    const auto result = ensureDataFolder();
    ASSERT_TRUE (result.failed());
    EXPECT_TRUE (result.getErrorMessage().contains (Locations::dataFolder().getFullPathName())) << result.getErrorMessage();
    EXPECT_TRUE (result.getErrorMessage().contains ("create_directories")) << result.getErrorMessage();
}

TEST (DataFolder, GrantingAccessReportsMissingObjects)
{
    ScopedSandbox sandbox;
    EXPECT_FALSE (FolderAccess::grantUsersAccess (sandbox.root().getChildFile ("missing")));
    ASSERT_TRUE (ensureDataFolder().wasOk());
    EXPECT_TRUE (FolderAccess::grantUsersAccess (Locations::dataFolder()));
}
