#include "platform/FileOpener.h"

namespace FileOpener
{
    bool launchSystemViewer (const juce::File& file)
    {
        // The shell only starts xdg-open in the background and exits, so a
        // viewer that stays open does not hold the caller; the path arrives
        // as "$1" and is never parsed as shell text.
        juce::ChildProcess starter;
        const juce::StringArray arguments { "/bin/sh", "-c",
                                            "command -v xdg-open >/dev/null || exit 1; "
                                            "xdg-open \"$1\" >/dev/null 2>&1 &",
                                            "sh", file.getFullPathName() };

        if (! starter.start (arguments, 0))
            return false;

        return starter.waitForProcessToFinish (5000) && starter.getExitCode() == 0;
    }
}
