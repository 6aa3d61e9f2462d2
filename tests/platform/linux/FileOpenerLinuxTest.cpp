#include "platform/FileOpener.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

TEST (FileOpenerLinux, PathReachesXdgOpenAsOneArgumentWithoutAShell)
{
    ScopedSandbox sandbox;
    const auto bin = sandbox.root().getChildFile ("bin");
    ASSERT_TRUE (bin.createDirectory());

    // A stand-in for xdg-open that records its arguments, one per line.
    const auto record = sandbox.root().getChildFile ("arguments.txt");
    const auto opener = bin.getChildFile ("xdg-open");
    ASSERT_TRUE (opener.replaceWithText ("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '"
                                         + record.getFullPathName() + "'; done\n",
                                         false, false, "\n"));
    ASSERT_TRUE (opener.setExecutePermission (true));

    ScopedEnvironmentVariable path ("PATH", bin.getFullPathName() + ":/usr/bin:/bin");

    // Shell syntax in a title-made file name stays text.
    const auto marker = juce::File::getCurrentWorkingDirectory().getChildFile ("pwned-by-a-manual-name");
    ASSERT_FALSE (marker.exists());
    const auto manual = sandbox.root().getChildFile ("$(touch ${IFS}" + marker.getFileName() + ") `id` \"A\" manual.pdf");
    ASSERT_TRUE (manual.replaceWithText ("%PDF-1.4"));

    EXPECT_TRUE (FileOpener::launchSystemViewer (manual));
    ASSERT_TRUE (pumpUntil ([&] { return record.existsAsFile(); }));
    pumpUntil ([] { return false; }, 100);

    EXPECT_EQ (record.loadFileAsString(), manual.getFullPathName() + "\n");
    EXPECT_FALSE (marker.exists());
}

TEST (FileOpenerLinux, MissingXdgOpenIsReportedAsFailure)
{
    ScopedSandbox sandbox;
    const auto manual = sandbox.root().getChildFile ("Lumo manual.pdf");
    ASSERT_TRUE (manual.replaceWithText ("%PDF-1.4"));
    ScopedEnvironmentVariable path ("PATH", sandbox.root().getFullPathName());

    EXPECT_FALSE (FileOpener::launchSystemViewer (manual));
}
