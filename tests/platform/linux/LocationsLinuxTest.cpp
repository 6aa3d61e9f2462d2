#include "platform/FolderAccess.h"
#include "platform/Locations.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST (LocationsLinux, WithoutSandboxPlacesSitInTheWinePrefix)
{
    ScopedEnvironmentVariable noSandbox (Locations::sandboxVariable, {});

    {
        ScopedEnvironmentVariable prefix ("WINEPREFIX", "/tmp/some-prefix");
        EXPECT_EQ (Locations::driveRoot().getFullPathName(), "/tmp/some-prefix/drive_c");
        EXPECT_EQ (Locations::dataFolder().getFullPathName(), "/tmp/some-prefix/drive_c/ProgramData/Vamrelund");
        EXPECT_EQ (Locations::defaultVst3Folder().getFullPathName(), "/tmp/some-prefix/drive_c/Program Files/Common Files/VST3");
        EXPECT_EQ (Locations::settingsFolder().getFullPathName(), "/tmp/some-prefix/drive_c/ProgramData/Vamrelund/Vamrelund Helper");
    }

    {
        ScopedEnvironmentVariable prefix ("WINEPREFIX", {});
        const auto home = juce::File::getSpecialLocation (juce::File::userHomeDirectory);
        EXPECT_EQ (Locations::driveRoot(), home.getChildFile (".wine").getChildFile ("drive_c"));
        EXPECT_EQ (Locations::userApplicationData(), juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory));
        EXPECT_EQ (Locations::userDocuments(), juce::File::getSpecialLocation (juce::File::userDocumentsDirectory));
    }
}

TEST (LocationsLinux, GrantingAccessAddsGroupReadWrite)
{
    ScopedSandbox sandbox;
    auto folder = sandbox.root().getChildFile ("shared");
    auto file = folder.getChildFile ("inner/file.txt");
    ASSERT_TRUE (file.create().wasOk());

    for (auto f : { folder, folder.getChildFile ("inner"), file })
        ASSERT_EQ (chmod (f.getFullPathName().toRawUTF8(), f.isDirectory() ? 0700 : 0600), 0);

    FolderAccess::grantUsersAccessRecursively (folder);

    struct stat info {};
    ASSERT_EQ (stat (file.getFullPathName().toRawUTF8(), &info), 0);
    EXPECT_EQ (info.st_mode & 0070, 0060);
    ASSERT_EQ (stat (folder.getChildFile ("inner").getFullPathName().toRawUTF8(), &info), 0);
    EXPECT_EQ (info.st_mode & 0070, 0070);
}

TEST (LocationsLinux, WithoutSandboxXdgFoldersFollowTheXdgVariables)
{
    ScopedEnvironmentVariable noSandbox (Locations::sandboxVariable, {});
    const auto home = juce::File::getSpecialLocation (juce::File::userHomeDirectory);

    struct Case { const char* value; juce::File data, config; };
    const Case cases[] = {
        { "/tmp/xdg-set",  juce::File ("/tmp/xdg-set"), juce::File ("/tmp/xdg-set") },
        { "",              home.getChildFile (".local/share"), home.getChildFile (".config") },
        { "relative/path", home.getChildFile (".local/share"), home.getChildFile (".config") },
    };

    for (const auto& c : cases)
    {
        ScopedEnvironmentVariable data ("XDG_DATA_HOME", c.value);
        ScopedEnvironmentVariable config ("XDG_CONFIG_HOME", c.value);
        EXPECT_EQ (Locations::userDataHome(), c.data) << c.value;
        EXPECT_EQ (Locations::userConfigHome(), c.config) << c.value;
    }
}

TEST (LocationsLinux, SandboxXdgFoldersIgnoreTheXdgVariables)
{
    ScopedSandbox sandbox;
    ScopedEnvironmentVariable data ("XDG_DATA_HOME", "/tmp/not-the-sandbox");
    EXPECT_EQ (Locations::userDataHome(), sandbox.root().getChildFile ("xdg/data"));
    EXPECT_EQ (Locations::userConfigHome(), sandbox.root().getChildFile ("xdg/config"));
}
