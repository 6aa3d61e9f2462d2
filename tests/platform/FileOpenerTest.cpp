#include "platform/FileOpener.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

TEST (FileOpener, OnlyExistingFilesReachTheHandlerAndANestedHandlerWinsWhileItLives)
{
    using FileOpener::OpenResult;
    ScopedSandbox sandbox;
    const auto file = sandbox.root().getChildFile ("My Synth manual.pdf");
    ASSERT_TRUE (file.replaceWithText ("%PDF-1.4"));
    const auto missing = sandbox.root().getChildFile ("Lumo manual.pdf");

    juce::StringArray opened;

    {
        FileOpener::ScopedHandler handler ([&opened] (const juce::File& f) { opened.add (f.getFullPathName()); return true; });

        EXPECT_EQ (FileOpener::openFile (file), OpenResult::opened);
        EXPECT_EQ (FileOpener::openFile (missing), OpenResult::missing);
        EXPECT_EQ (FileOpener::openFile (sandbox.root()), OpenResult::missing) << "a folder is not a file";

        {
            FileOpener::ScopedHandler failing ([] (const juce::File&) { return false; });
            EXPECT_EQ (FileOpener::openFile (file), OpenResult::launchFailed);
        }

        EXPECT_EQ (FileOpener::openFile (file), OpenResult::opened);
    }

    EXPECT_EQ (opened, juce::StringArray (file.getFullPathName(), file.getFullPathName()));
}
