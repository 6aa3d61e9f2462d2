#include "platform/LinkSafeDelete.h"

#include "platform/windows/FolderWalkWindows.h"

#include <windows.h>

namespace
{
    /** Removes one object that is not entered: a file, or a link of either
        kind. A folder link (junction, directory symlink) goes with
        RemoveDirectoryW, which removes the link and not its target. */
    bool removeEntry (const juce::File& path, DWORD attributes)
    {
        const auto wide = path.getFullPathName().toWideCharPointer();

        // A read-only file refuses DeleteFileW; the flag is ours to drop.
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0)
            SetFileAttributesW (wide, attributes & ~(DWORD) FILE_ATTRIBUTE_READONLY);

        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return RemoveDirectoryW (wide) != 0;

        return DeleteFileW (wide) != 0;
    }

    bool deleteFolder (const juce::File& folder)
    {
        bool worked = true;
        const auto pattern = folder.getFullPathName() + "\\*";
        WIN32_FIND_DATAW found {};
        auto handle = FindFirstFileW (pattern.toWideCharPointer(), &found);

        if (handle != INVALID_HANDLE_VALUE)
        {
            do
            {
                const juce::String name (found.cFileName);

                if (name == "." || name == "..")
                    continue;

                const auto child = folder.getChildFile (name);

                // The listing's own attributes decide: a reparse point is
                // never entered, whatever kind of link it is.
                if (FolderWalk::classify (found.dwFileAttributes) == FolderWalk::EntryKind::folder)
                    worked = deleteFolder (child) && worked;
                else
                    worked = removeEntry (child, found.dwFileAttributes) && worked;
            }
            while (FindNextFileW (handle, &found));

            FindClose (handle);
        }

        const auto wide = folder.getFullPathName().toWideCharPointer();
        const auto attributes = GetFileAttributesW (wide);

        // A read-only folder refuses RemoveDirectoryW as a read-only file refuses DeleteFileW.
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
            SetFileAttributesW (wide, attributes & ~(DWORD) FILE_ATTRIBUTE_READONLY);

        return RemoveDirectoryW (wide) != 0 && worked;
    }
}

namespace LinkSafeDelete
{
    bool isLink (const juce::File& path)
    {
        if (path.getFullPathName().isEmpty())
            return false;

        const auto attributes = GetFileAttributesW (path.getFullPathName().toWideCharPointer());
        return attributes != INVALID_FILE_ATTRIBUTES
                && FolderWalk::classify (attributes) == FolderWalk::EntryKind::link;
    }

    bool deleteTree (const juce::File& path)
    {
        if (path.getFullPathName().isEmpty())
            return false;

        const auto attributes = GetFileAttributesW (path.getFullPathName().toWideCharPointer());

        if (attributes == INVALID_FILE_ATTRIBUTES)
        {
            const auto error = GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        }

        if (FolderWalk::classify (attributes) == FolderWalk::EntryKind::folder)
            return deleteFolder (path);

        return removeEntry (path, attributes);
    }
}
