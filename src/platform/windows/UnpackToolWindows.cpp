#include "platform/UnpackTool.h"

namespace UnpackTool
{
    juce::StringArray systemLauncher()
    {
        // Windows 10 and later ship libarchive's bsdtar as tar.exe.
        return { "tar" };
    }

    bool launcherIsRunnable (const juce::StringArray& launcher)
    {
        // CreateProcess searches the path itself and fails when the program
        // is missing, which ChildProcess::start reports.
        return ! launcher.isEmpty() && launcher[0].isNotEmpty();
    }
}
