// Wine accepts the access-list calls but does not keep the lists, so these
// tests check what the calls report and which objects the walk reaches; the
// stored list itself can only be read back on Windows.
#include "app/settings/SettingsStore.h"
#include "platform/FolderAccess.h"
#include "platform/Locations.h"
#include "platform/windows/FolderWalkWindows.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

namespace
{
    struct TreeFixture : public ::testing::Test
    {
        ScopedSandbox sandbox;
        juce::File top = sandbox.root().getChildFile ("ProgramData").getChildFile ("Vamrelund");

        // Folders, an empty one, a hidden file and names that need wide
        // characters and spaces.
        juce::Array<juce::File> makeTree()
        {
            juce::Array<juce::File> objects { top };

            for (auto relative : { "Vamrelund Helper", "Vamrelund Helper/Vamrelund Helper.settings",
                                   "Plug-in data", "Plug-in data/Gr\xc3\xb6\xc3\x9f" "e \xe2\x9c\x93", // "Größe ✓"
                                   "Plug-in data/Gr\xc3\xb6\xc3\x9f" "e \xe2\x9c\x93/Assets.vra",
                                   "Plug-in data/empty", "hidden.txt" })
            {
                auto object = top.getChildFile (juce::CharPointer_UTF8 (relative));
                const bool isFile = object.getFileName().containsChar ('.');
                EXPECT_TRUE (isFile ? object.replaceWithText ("x") : object.createDirectory().wasOk()) << relative;
                objects.add (object);
            }

            SetFileAttributesW (top.getChildFile ("hidden.txt").getFullPathName().toWideCharPointer(),
                                FILE_ATTRIBUTE_HIDDEN);
            return objects;
        }
    };
}

TEST_F (TreeFixture, WalkVisitsEveryObjectOnceWithFoldersBeforeTheirContents)
{
    const auto expected = makeTree();

    juce::Array<juce::File> visited;
    FolderWalk::visitRecursively (top, [&] (const juce::File& object) { visited.add (object); });

    ASSERT_EQ (visited.size(), expected.size());
    EXPECT_EQ (visited.getFirst(), top);

    for (auto& object : expected)
    {
        const auto index = visited.indexOf (object);
        ASSERT_GE (index, 0) << object.getFullPathName();
        EXPECT_EQ (std::count (visited.begin(), visited.end(), object), 1) << object.getFullPathName();
        EXPECT_LT (visited.indexOf (object.getParentDirectory()), index) << object.getFullPathName();
        EXPECT_TRUE (object.exists()) << object.getFullPathName();
    }
}

TEST_F (TreeFixture, WalkOfAMissingFolderOrOfAFileVisitsNothing)
{
    makeTree();
    int visits = 0;
    const auto count = [&] (const juce::File&) { ++visits; };

    FolderWalk::visitRecursively (top.getChildFile ("missing"), count);
    FolderWalk::visitRecursively (top.getChildFile ("hidden.txt"), count);
    EXPECT_EQ (visits, 0);
}

TEST (FolderWalk, LinksAreNeitherFollowedNorVisited)
{
    // Wine can make neither junctions nor symbolic links, so the walk's
    // decision is checked on the attributes Windows reports for them.
    struct Case { DWORD attributes; FolderWalk::EntryKind kind; };
    const Case cases[] = {
        { FILE_ATTRIBUTE_DIRECTORY,                                   FolderWalk::EntryKind::folder },
        { FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN,           FolderWalk::EntryKind::folder },
        { FILE_ATTRIBUTE_NORMAL,                                      FolderWalk::EntryKind::file },
        { FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY,           FolderWalk::EntryKind::file },
        { FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT,    FolderWalk::EntryKind::link }, // junction, folder link
        { FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT,      FolderWalk::EntryKind::link }, // file link
    };

    for (const auto& c : cases)
        EXPECT_EQ (FolderWalk::classify (c.attributes), c.kind) << std::hex << c.attributes;
}

TEST_F (TreeFixture, GrantCallsSucceedOnEveryObjectAndFailOnMissingOnes)
{
    for (auto& object : makeTree())
        EXPECT_TRUE (FolderAccess::grantUsersAccess (object)) << object.getFullPathName();

    EXPECT_FALSE (FolderAccess::grantUsersAccess (top.getChildFile ("missing")));
    EXPECT_FALSE (FolderAccess::grantUsersAccess (juce::File ("Q:\\no drive\\here")));
}

TEST (FolderAccessWindows, DataFolderStartCreatesTheFolderAndGrantsWithoutFailing)
{
    ScopedSandbox sandbox;
    const auto folder = Locations::dataFolder();
    ASSERT_FALSE (folder.getParentDirectory().exists());

    const auto result = ensureDataFolder();
    ASSERT_TRUE (result.wasOk()) << result.getErrorMessage();
    EXPECT_TRUE (folder.isDirectory());
    EXPECT_TRUE (FolderAccess::grantUsersAccess (folder));

    // Content another account left there does not stop the next start.
    ASSERT_TRUE (folder.getChildFile ("other/old.txt").create().wasOk());
    EXPECT_TRUE (ensureDataFolder().wasOk());
    EXPECT_TRUE (folder.getChildFile ("other/old.txt").existsAsFile());
}
