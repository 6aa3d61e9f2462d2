#include "platform/linux/PrivateRuntimeFolderLinux.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace
{
    mode_t modeOf (const juce::File& file)
    {
        struct stat info {};
        lstat (file.getFullPathName().toRawUTF8(), &info);
        return info.st_mode;
    }

    juce::File expectedFolder (const juce::File& parent)
    {
        return parent.getChildFile ("vamrhelper-" + juce::String ((juce::int64) getuid()));
    }
}

TEST (PrivateRuntimeFolder, MadeForThisUserAloneAndTightenedWhenLoose)
{
    ScopedSandbox sandbox;
    const auto folder = privateRuntimeFolder (sandbox.root());

    ASSERT_EQ (folder, expectedFolder (sandbox.root()));
    EXPECT_TRUE (S_ISDIR (modeOf (folder)));
    EXPECT_EQ (modeOf (folder) & 0777, 0700u);

    // Found again as it is; a folder of ours with looser rights is tightened.
    EXPECT_EQ (privateRuntimeFolder (sandbox.root()), folder);
    ASSERT_EQ (chmod (folder.getFullPathName().toRawUTF8(), 0777), 0);
    EXPECT_EQ (privateRuntimeFolder (sandbox.root()), folder);
    EXPECT_EQ (modeOf (folder) & 0777, 0700u);
}

TEST (PrivateRuntimeFolder, WhatOthersCouldControlIsRefused)
{
    struct Case
    {
        const char* what;
        std::function<bool (const juce::File& place)> plant;
    };

    const Case cases[] = {
        { "a file",            [] (const juce::File& place) { return place.replaceWithText ("x"); } },
        { "a symbolic link",   [] (const juce::File& place) { return place.getSiblingFile ("elsewhere").createDirectory().wasOk()
                                                                  && place.getSiblingFile ("elsewhere").createSymbolicLink (place, true); } },
        { "a missing parent",  [] (const juce::File& place) { return place.getParentDirectory().deleteRecursively(); } },
    };

    for (const auto& c : cases)
    {
        ScopedSandbox sandbox;
        const auto parent = sandbox.root().getChildFile ("tmp");
        ASSERT_TRUE (parent.createDirectory().wasOk());
        ASSERT_TRUE (c.plant (expectedFolder (parent))) << c.what;

        EXPECT_EQ (privateRuntimeFolder (parent), juce::File()) << c.what;
    }
}

TEST (PrivateRuntimeFolder, AnotherUsersFolderIsRefused)
{
    if (getuid() != 0)
        GTEST_SKIP() << "handing a folder to another user needs root";

    ScopedSandbox sandbox;
    const auto place = expectedFolder (sandbox.root());
    ASSERT_TRUE (place.createDirectory().wasOk());
    ASSERT_EQ (chown (place.getFullPathName().toRawUTF8(), 65534, 65534), 0);

    EXPECT_EQ (privateRuntimeFolder (sandbox.root()), juce::File());
}
