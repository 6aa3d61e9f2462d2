#pragma once

#include <juce_core/juce_core.h>

/** The system tool that unpacks product archives.

    The arguments after the program are always the same: "-xf", the archive,
    "-C", the destination folder, "--no-same-owner", "--no-same-permissions",
    "-v". Windows ships libarchive's bsdtar as "tar", which reads zip. On
    Linux GNU tar cannot read zip, so bsdtar itself runs, under a UTF-8
    locale because it skips names it cannot encode. bsdtar refuses entries
    with ".." components, strips leading "/" and will not write through a
    symbolic link, so nothing lands outside the destination. */
namespace UnpackTool
{
    /** The arguments after the program, in their fixed order. */
    juce::StringArray arguments (const juce::File& archive, const juce::File& destination);

    /** The program and whatever precedes the arguments on this system. */
    juce::StringArray systemLauncher();

    /** The whole command line: the launcher in use, then the arguments. */
    juce::StringArray commandLine (const juce::File& archive, const juce::File& destination);

    /** Starts the tool with its standard output and error in one pipe.
        False when the tool cannot be started (not installed, or the system
        refused to run it). */
    bool start (juce::ChildProcess& process, const juce::File& archive, const juce::File& destination);

    /** True when the launcher's program can be found and run here. */
    bool launcherIsRunnable (const juce::StringArray& launcher);

    /** While one exists, the given launcher replaces the system's (tests). */
    class ScopedLauncher
    {
    public:
        explicit ScopedLauncher (juce::StringArray launcher);
        ~ScopedLauncher();

    private:
        juce::StringArray previous;
        JUCE_DECLARE_NON_COPYABLE (ScopedLauncher)
    };
}
