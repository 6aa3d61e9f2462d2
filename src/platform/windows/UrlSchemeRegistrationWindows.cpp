#include "platform/UrlSchemeRegistration.h"

#include "platform/ConsoleText.h"
#include "platform/Locations.h"
#include "platform/UrlSchemeTexts.h"

#include <windows.h>

#include <string>

namespace
{
    std::wstring wide (const juce::String& text)
    {
        return text.toWideCharPointer();
    }

    HKEY createKey (const std::wstring& path)
    {
        HKEY key = nullptr;

        if (RegCreateKeyExW (HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return nullptr;

        return key;
    }

    // An empty name sets the key's default value. The size counts the
    // terminating zero, in bytes.
    bool setText (HKEY key, const wchar_t* name, const std::wstring& data)
    {
        const auto bytes = static_cast<DWORD> ((data.size() + 1) * sizeof (wchar_t));
        return RegSetValueExW (key, name, 0, REG_SZ, reinterpret_cast<const BYTE*> (data.c_str()), bytes) == ERROR_SUCCESS;
    }
}

namespace UrlSchemeRegistration
{
    bool registerProtocol (const juce::String& scheme, const juce::String& executablePath)
    {
        const auto wideScheme = wide (scheme);
        const auto keyPath = wide (Locations::userClassesKey()) + L"\\" + wideScheme;

        auto* protocolKey = createKey (keyPath);

        if (protocolKey == nullptr)
        {
            ConsoleText::toError (UrlSchemeTexts::protocolEntryFailed());
            return false;
        }

        // A value that could not be written leaves a registration that
        // opens nothing, so it counts as a failure like a missing key.
        bool valuesWritten = setText (protocolKey, nullptr, L"URL:" + wideScheme + L" Protocol");
        valuesWritten = setText (protocolKey, L"URL Protocol", L"") && valuesWritten;

        auto* commandKey = createKey (keyPath + L"\\shell\\open\\command");

        if (commandKey == nullptr)
        {
            ConsoleText::toError (UrlSchemeTexts::commandEntryFailed());
            RegCloseKey (protocolKey);
            return false;
        }

        valuesWritten = setText (commandKey, nullptr, L"\"" + wide (executablePath) + L"\" \"%1\"") && valuesWritten;

        RegCloseKey (commandKey);
        RegCloseKey (protocolKey);

        if (! valuesWritten)
            return false;

        ConsoleText::toOutput (UrlSchemeTexts::registered (wideScheme));
        return true;
    }
}
