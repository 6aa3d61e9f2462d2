#include "platform/Environment.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

namespace
{
    juce::String win32Value (const wchar_t* name)
    {
        wchar_t buffer[256] {};
        const auto length = GetEnvironmentVariableW (name, buffer, 256);
        return length == 0 ? juce::String ("<unset>") : juce::String (buffer);
    }

    juce::String runtimeValue (const wchar_t* name)
    {
        const auto* value = _wgetenv (name);
        return value == nullptr ? juce::String ("<unset>") : juce::String (value);
    }
}

// JUCE reads the Win32 block, the C runtime and child processes its own
// copy: a change must reach both, and an empty value must remove the name.
TEST (EnvironmentWindows, SettingAndRemovingReachWin32AndTheRuntime)
{
    const auto* name = L"VAMRHELPER_ENVIRONMENT_PROBE";
    const auto value = juce::String (juce::CharPointer_UTF8 ("C:\\some folder\\\xc3\xa9"));

    ASSERT_TRUE (Environment::setVariable ("VAMRHELPER_ENVIRONMENT_PROBE", value));
    EXPECT_EQ (win32Value (name), value);
    EXPECT_EQ (runtimeValue (name), value);
    EXPECT_EQ (juce::SystemStats::getEnvironmentVariable ("VAMRHELPER_ENVIRONMENT_PROBE", "<unset>"),
               value);

    ASSERT_TRUE (Environment::setVariable ("VAMRHELPER_ENVIRONMENT_PROBE", {}));
    EXPECT_EQ (win32Value (name), "<unset>");
    EXPECT_EQ (runtimeValue (name), "<unset>");
    EXPECT_EQ (juce::SystemStats::getEnvironmentVariable ("VAMRHELPER_ENVIRONMENT_PROBE", "<unset>"), "<unset>");
}
