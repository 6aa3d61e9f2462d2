#include "app/link/LinkPipeName.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    bool isPlainName (const juce::String& name)
    {
        return name.isNotEmpty() && name.length() < 100
            && name.containsOnly ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_");
    }
}

TEST (LinkPipeName, OneNamePerUserAndDataFolder)
{
    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory).getChildFile ("one");
    const auto other = folder.getSiblingFile ("two");
    const auto name = linkPipeName ("alice", folder);

    EXPECT_EQ (linkPipeName ("alice", folder), name);
    EXPECT_NE (linkPipeName ("bob", folder), name);
    EXPECT_NE (linkPipeName ("alice", other), name);
    EXPECT_NE (linkPipeName ("alice", folder.getChildFile ("below")), name);

    // A folder the file system does not tell apart by case is the same folder.
    const auto upper = juce::File (folder.getFullPathName().toUpperCase());
    EXPECT_EQ (linkPipeName ("alice", upper) == name, ! juce::File::areFileNamesCaseSensitive());
}

TEST (LinkPipeName, OddUserNamesGivePlainDistinctNames)
{
    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory);
    const juce::String users[] = { "alice", "", "Anna Berg", "dom\\user", "../etc", "ölaf", "a:b*c?\"<>|",
                                   juce::String::repeatedString ("x", 300), juce::String::repeatedString ("x", 301) };
    juce::StringArray names;

    for (const auto& user : users)
    {
        const auto name = linkPipeName (user, folder);
        EXPECT_TRUE (isPlainName (name)) << name;
        names.addIfNotAlreadyThere (name);
    }

    // Names that read alike once made plain or cut short still differ.
    EXPECT_EQ (names.size(), (int) std::size (users));
}

TEST (LinkPipeName, EachSandboxHasItsOwn)
{
    juce::String first, second;

    {
        ScopedSandbox sandbox;
        first = linkPipeName();
        EXPECT_EQ (linkPipeName(), first);
    }

    {
        ScopedSandbox sandbox;
        second = linkPipeName();
    }

    EXPECT_NE (first, second);
}
