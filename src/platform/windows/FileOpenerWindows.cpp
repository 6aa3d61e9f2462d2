#include "platform/FileOpener.h"

#include <windows.h>
#include <shellapi.h>

namespace FileOpener
{
    bool launchSystemViewer (const juce::File& file)
    {
        // No verb: the shell uses the type's default one, as a double click does.
        const auto result = ShellExecuteW (nullptr, nullptr, file.getFullPathName().toWideCharPointer(),
                                           nullptr, nullptr, SW_SHOWDEFAULT);

        // Values above 32 mean success.
        return reinterpret_cast<INT_PTR> (result) > 32;
    }
}
