#include "platform/Locations.h"
#include "platform/UrlSchemeRegistration.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace
{
    struct RegistryText
    {
        bool found = false;
        std::wstring text;
        DWORD bytes = 0;
    };

    /** A REG_SZ value below HKEY_CURRENT_USER; an empty name reads the default value. */
    RegistryText readText (const juce::String& key, const wchar_t* name)
    {
        RegistryText result;
        DWORD bytes = 0;

        if (RegGetValueW (HKEY_CURRENT_USER, key.toWideCharPointer(), name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
            return result;

        std::wstring buffer (bytes / sizeof (wchar_t) + 1, L'\0');

        if (RegGetValueW (HKEY_CURRENT_USER, key.toWideCharPointer(), name, RRF_RT_REG_SZ, nullptr, buffer.data(), &bytes) != ERROR_SUCCESS)
            return result;

        result.found = true;
        result.bytes = bytes;
        result.text = buffer.c_str();
        return result;
    }

    /** A sandbox whose registry entries go with it. */
    class UrlSchemeRegistrationWindows : public ::testing::Test
    {
    protected:
        void TearDown() override
        {
            // Never an empty name: that would be the whole of HKEY_CURRENT_USER.
            const auto key = Locations::sandboxRegistryKey();

            if (key.startsWith ("Software\\Vamrelund Helper Sandbox\\") && key.length() > 36)
                RegDeleteTreeW (HKEY_CURRENT_USER, key.toWideCharPointer());
        }

        ScopedSandbox sandbox;
        const juce::String protocolKey = Locations::userClassesKey() + "\\vamrhelper";
        const juce::String commandKey = protocolKey + "\\shell\\open\\command";
    };
}

TEST_F (UrlSchemeRegistrationWindows, WritesTheThreeValuesBelowTheSandboxKey)
{
    ASSERT_TRUE (Locations::userClassesKey().startsWith ("Software\\Vamrelund Helper Sandbox\\")) << Locations::userClassesKey();

    const juce::String executable ("C:\\Program Files\\Vamrelund\\Helper\\Vamrelund Helper.exe");
    ASSERT_TRUE (UrlSchemeRegistration::registerProtocol ("vamrhelper", executable));

    struct Case { juce::String key; const wchar_t* name; std::wstring expected; };
    const Case cases[] = {
        { protocolKey, nullptr,         L"URL:vamrhelper Protocol" },
        { protocolKey, L"URL Protocol", L"" },
        { commandKey,  nullptr,         L"\"C:\\Program Files\\Vamrelund\\Helper\\Vamrelund Helper.exe\" \"%1\"" },
    };

    for (const auto& c : cases)
    {
        const auto value = readText (c.key, c.name);
        ASSERT_TRUE (value.found) << c.key;
        EXPECT_EQ (value.text, c.expected) << c.key;
        // Stored with its terminating zero, as the size given to the registry says.
        EXPECT_EQ (value.bytes, (c.expected.size() + 1) * sizeof (wchar_t)) << c.key;
    }
}

TEST_F (UrlSchemeRegistrationWindows, TheRunningExecutableIsRegisteredAndAnotherCopyTakesItOver)
{
    UrlSchemeRegistration::registerUrlScheme();

    const auto self = juce::File::getSpecialLocation (juce::File::currentExecutableFile).getFullPathName();
    EXPECT_EQ (readText (commandKey, nullptr).text, L"\"" + std::wstring (self.toWideCharPointer()) + L"\" \"%1\"");

    ASSERT_TRUE (UrlSchemeRegistration::registerProtocol ("vamrhelper", "D:\\Moved\\Vamrelund Helper.exe"));
    EXPECT_EQ (readText (commandKey, nullptr).text, L"\"D:\\Moved\\Vamrelund Helper.exe\" \"%1\"");
}

TEST_F (UrlSchemeRegistrationWindows, TheUsersOwnClassesAreNotTouched)
{
    // Whatever the real key holds before, it holds after.
    const auto before = readText ("Software\\Classes\\vamrhelper\\shell\\open\\command", nullptr);
    ASSERT_TRUE (UrlSchemeRegistration::registerProtocol ("vamrhelper", "C:\\sandboxed\\Vamrelund Helper.exe"));
    const auto after = readText ("Software\\Classes\\vamrhelper\\shell\\open\\command", nullptr);

    EXPECT_EQ (after.found, before.found);
    EXPECT_EQ (after.text, before.text);
    EXPECT_NE (after.text, L"\"C:\\sandboxed\\Vamrelund Helper.exe\" \"%1\"");
}
