#include "platform/FileAppend.h"

#include <windows.h>

namespace FileAppend
{
    bool append (const juce::File& file, const void* data, size_t numBytes)
    {
        if (numBytes > MAXDWORD)
            return false;

        auto* handle = CreateFileW (file.getFullPathName().toWideCharPointer(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);

        if (handle == INVALID_HANDLE_VALUE)
            return false;

        // Finding the end and writing there is made one step by a lock that
        // every appender takes: one byte far beyond any real end of file,
        // so readers are never in its way. (Append-only access would do the
        // same on Windows itself, but Wine does not keep such writes whole.)
        OVERLAPPED lockRegion {};
        lockRegion.Offset = 0xffffffffu;
        lockRegion.OffsetHigh = 0x7fffffffu;
        bool ok = false;

        if (LockFileEx (handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &lockRegion))
        {
            DWORD written = 0;
            ok = SetFilePointerEx (handle, LARGE_INTEGER {}, nullptr, FILE_END)
              && WriteFile (handle, data, (DWORD) numBytes, &written, nullptr)
              && written == (DWORD) numBytes;

            UnlockFileEx (handle, 0, 1, 0, &lockRegion);
        }

        CloseHandle (handle);
        return ok;
    }
}
