#include "platform/UnpackTool.h"

#include <mutex>

namespace
{
    std::mutex launcherLock;
    juce::StringArray launcherOverride;   // empty: the system's own

    juce::StringArray exchangeLauncher (juce::StringArray next)
    {
        const std::lock_guard<std::mutex> guard (launcherLock);
        std::swap (launcherOverride, next);
        return next;
    }

    juce::StringArray currentLauncher()
    {
        {
            const std::lock_guard<std::mutex> guard (launcherLock);

            if (! launcherOverride.isEmpty())
                return launcherOverride;
        }

        return UnpackTool::systemLauncher();
    }
}

namespace UnpackTool
{
    juce::StringArray arguments (const juce::File& archive, const juce::File& destination)
    {
        return { "-xf", archive.getFullPathName(), "-C", destination.getFullPathName(),
                 "--no-same-owner", "--no-same-permissions", "-v" };
    }

    juce::StringArray commandLine (const juce::File& archive, const juce::File& destination)
    {
        auto command = currentLauncher();
        command.addArray (arguments (archive, destination));
        return command;
    }

    bool start (juce::ChildProcess& process, const juce::File& archive, const juce::File& destination)
    {
        const auto command = commandLine (archive, destination);

        if (! launcherIsRunnable (command))
            return false;

        // JUCE quotes arguments with spaces or quotes where the system
        // joins them into one command line (Windows).
        return process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr);
    }

    ScopedLauncher::ScopedLauncher (juce::StringArray launcher)
        : previous (exchangeLauncher (std::move (launcher)))
    {
    }

    ScopedLauncher::~ScopedLauncher()
    {
        exchangeLauncher (std::move (previous));
    }
}
