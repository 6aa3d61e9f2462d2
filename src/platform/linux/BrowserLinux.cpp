#include "platform/Browser.h"

namespace Browser
{
    bool launchSystemBrowser (const juce::String& address)
    {
        // The shell only starts xdg-open in the background and exits; the
        // address arrives as "$1" and is never parsed as shell text.
        juce::ChildProcess starter;
        const juce::StringArray arguments { "/bin/sh", "-c",
                                            "command -v xdg-open >/dev/null || exit 1; "
                                            "xdg-open \"$1\" >/dev/null 2>&1 &",
                                            "sh", address };

        if (! starter.start (arguments, 0))
            return false;

        return starter.waitForProcessToFinish (5000) && starter.getExitCode() == 0;
    }
}
