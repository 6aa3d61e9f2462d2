#include "platform/Environment.h"

#include <windows.h>

#include <cstdlib>

namespace Environment
{
    bool setVariable (const juce::String& name, const juce::String& value)
    {
        // Both the Win32 block (read by JUCE) and the C runtime's copy.
        const auto* wideValue = value.isEmpty() ? nullptr : value.toWideCharPointer();
        const bool win32Ok = SetEnvironmentVariableW (name.toWideCharPointer(), wideValue) != 0;
        const bool crtOk = _wputenv_s (name.toWideCharPointer(), value.toWideCharPointer()) == 0;
        return win32Ok && crtOk;
    }
}
