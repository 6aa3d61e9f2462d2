#include "platform/Browser.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

TEST (BrowserLinux, AddressReachesXdgOpenAsOneArgumentWithoutAShell)
{
    ScopedSandbox sandbox;
    const auto bin = sandbox.root().getChildFile ("bin");
    bin.createDirectory();

    // A stand-in for xdg-open that records its arguments, one per line.
    const auto record = sandbox.root().getChildFile ("arguments.txt");
    const auto opener = bin.getChildFile ("xdg-open");
    opener.replaceWithText ("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\" >> '"
                            + record.getFullPathName() + "'; done\n",
                            false, false, "\n");
    opener.setExecutePermission (true);

    ScopedEnvironmentVariable path ("PATH", bin.getFullPathName() + ":/usr/bin:/bin");

    // Shell syntax inside a valid address stays text.
    const auto marker = sandbox.root().getChildFile ("pwned");
    const juce::String address ("https://dev.example.org/$(touch${IFS}" + marker.getFullPathName() + ")&x=1;y");
    ASSERT_TRUE (Browser::isWebAddress (address));

    EXPECT_TRUE (Browser::launchSystemBrowser (address));
    ASSERT_TRUE (pumpUntil ([&] { return record.existsAsFile(); }));
    pumpUntil ([] { return false; }, 100);

    EXPECT_EQ (record.loadFileAsString(), address + "\n");
    EXPECT_FALSE (marker.exists());
}

TEST (BrowserLinux, MissingXdgOpenIsReportedAsFailure)
{
    ScopedSandbox sandbox;
    ScopedEnvironmentVariable path ("PATH", sandbox.root().getFullPathName());
    EXPECT_FALSE (Browser::launchSystemBrowser ("https://www.vamrelund.com/"));
}
