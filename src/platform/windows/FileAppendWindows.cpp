#include "platform/FileAppend.h"

#include <windows.h>

namespace FileAppend
{
    bool append (const juce::File& file, const void* data, size_t numBytes)
    {
        // Append access without write access: the system puts every write at the end.
        auto* handle = CreateFileW (file.getFullPathName().toWideCharPointer(), FILE_APPEND_DATA | SYNCHRONIZE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);

        if (handle == INVALID_HANDLE_VALUE)
            return false;

        DWORD written = 0;
        const bool ok = numBytes <= MAXDWORD
                     && WriteFile (handle, data, (DWORD) numBytes, &written, nullptr)
                     && written == (DWORD) numBytes;
        CloseHandle (handle);
        return ok;
    }
}
