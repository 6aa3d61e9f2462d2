#include "platform/UnpackTool.h"

#include <gtest/gtest.h>

TEST (UnpackToolLinux, RunsBsdtarUnderAUtf8LocaleWithTheFixedArguments)
{
    const juce::File archive ("/tmp/work folder/2/vds.zip");
    const juce::File folder ("/tmp/work folder/2");

    EXPECT_EQ (UnpackTool::commandLine (archive, folder),
               (juce::StringArray { "env", "LC_ALL=C.UTF-8", "bsdtar",
                                    "-xf", "/tmp/work folder/2/vds.zip", "-C", "/tmp/work folder/2",
                                    "--no-same-owner", "--no-same-permissions", "-v" }));
}

TEST (UnpackToolLinux, ALauncherWhoseProgramIsMissingCannotRun)
{
    struct Case { juce::StringArray launcher; bool runnable; };
    const Case cases[] = {
        { { "env", "LC_ALL=C.UTF-8", "bsdtar" }, true },
        { { "/bin/sh" }, true },
        { { "env", "LC_ALL=C.UTF-8", "no-such-unpacker-vamr" }, false },
        { { "/no/such/folder/tar" }, false },
        { { "env", "LC_ALL=C.UTF-8" }, false },
        { {}, false },
    };

    for (const auto& c : cases)
        EXPECT_EQ (UnpackTool::launcherIsRunnable (c.launcher), c.runnable) << c.launcher.joinIntoString (" ");
}
