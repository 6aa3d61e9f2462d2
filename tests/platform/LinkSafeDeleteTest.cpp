#include "platform/LinkSafeDelete.h"
#include "support/FileLinks.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    juce::File put (const juce::File& file)
    {
        EXPECT_TRUE (file.getParentDirectory().createDirectory().wasOk());
        EXPECT_TRUE (file.replaceWithText (file.getFileName()));
        return file;
    }
}

TEST (LinkSafeDelete, RemovesAWholeTreeAndAnswersForMissingPaths)
{
    ScopedSandbox sandbox;
    const auto tree = sandbox.root().getChildFile ("Tree.aaxplugin");
    put (tree.getChildFile ("Contents/x64/Tree.aaxplugin"));
    put (tree.getChildFile ("Contents/Resources/.hidden"));
    ASSERT_TRUE (tree.getChildFile ("Contents/Empty").createDirectory().wasOk());
    const auto single = put (sandbox.root().getChildFile ("single.dll"));
    const auto beside = put (sandbox.root().getChildFile ("Tree.aaxplugin.txt"));

    EXPECT_TRUE (LinkSafeDelete::deleteTree (tree));
    EXPECT_TRUE (LinkSafeDelete::deleteTree (single));
    EXPECT_FALSE (tree.exists());
    EXPECT_FALSE (single.exists());
    EXPECT_TRUE (beside.existsAsFile());

    EXPECT_TRUE (LinkSafeDelete::deleteTree (tree)) << "already gone counts as done";
    EXPECT_FALSE (LinkSafeDelete::deleteTree (juce::File())) << "no path names nothing to delete";
    EXPECT_FALSE (LinkSafeDelete::isLink (tree));
    EXPECT_FALSE (LinkSafeDelete::isLink (beside));
}

TEST (LinkSafeDelete, LinksAreRemovedAndWhatTheyPointAtIsLeftAlone)
{
    struct Case
    {
        const char* what;
        const char* linkPath;     // below the folder that is deleted
        const char* targetPath;   // below the sandbox, outside that folder
        bool deleteTheLinkItself; // delete the link rather than the folder holding it
    };

    const Case cases[] = {
        { "folder link deep in a bundle", "Bundle.aaxplugin/Contents/Resources", "Outside", false },
        { "folder link at the bundle's top", "Bundle.aaxplugin/Link", "Outside", false },
        { "file link in a bundle", "Bundle.aaxplugin/Contents/x64/Bundle.aaxplugin", "Outside/keep.txt", false },
        { "dangling link in a bundle", "Bundle.aaxplugin/Contents/gone", "Outside/missing", false },
        { "the deleted path is itself a folder link", "Bundle.aaxplugin", "Outside", true },
        { "the deleted path is itself a file link", "Plugin.vst3", "Outside/keep.txt", true },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ScopedSandbox sandbox;
        const auto root = sandbox.root();
        const auto keep = put (root.getChildFile ("Outside/keep.txt"));
        const auto keepDeep = put (root.getChildFile ("Outside/Deep/also.txt"));
        const auto link = root.getChildFile (c.linkPath);
        ASSERT_TRUE (link.getParentDirectory().createDirectory().wasOk());
        if (! c.deleteTheLinkItself)
            put (root.getChildFile ("Bundle.aaxplugin/Contents/Info.plist"));

        if (! makeLink (link, root.getChildFile (c.targetPath)))
            GTEST_SKIP() << "this system makes no symbolic links";

        // Wine can make a link that Win32 then shows as a plain entry: no
        // Windows program could tell it apart, so nothing here can be checked.
        if (! LinkSafeDelete::isLink (link))
            GTEST_SKIP() << "this system shows its symbolic links as plain entries";

        const auto victim = c.deleteTheLinkItself ? link : root.getChildFile ("Bundle.aaxplugin");
        EXPECT_TRUE (LinkSafeDelete::deleteTree (victim));

        EXPECT_FALSE (LinkSafeDelete::isLink (link));
        EXPECT_FALSE (link.exists());
        EXPECT_TRUE (keep.existsAsFile());
        EXPECT_TRUE (keepDeep.existsAsFile());
        EXPECT_EQ (root.getChildFile ("Outside").findChildFiles (juce::File::findFilesAndDirectories, true).size(), 3);
    }
}
