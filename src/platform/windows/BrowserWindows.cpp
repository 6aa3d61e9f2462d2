#include "platform/Browser.h"

#include <windows.h>
#include <shellapi.h>

namespace Browser
{
    bool launchSystemBrowser (const juce::String& address)
    {
        const auto result = ShellExecuteW (nullptr, L"open", address.toWideCharPointer(),
                                           nullptr, nullptr, SW_SHOWNORMAL);

        // Values above 32 mean success.
        return reinterpret_cast<INT_PTR> (result) > 32;
    }
}
