#include "platform/FolderAccess.h"

#include <dirent.h>
#include <sys/stat.h>

namespace FolderAccess
{
    bool grantUsersAccess (const juce::File& path)
    {
        struct stat info {};
        const auto native = path.getFullPathName().toRawUTF8();

        if (lstat (native, &info) != 0 || S_ISLNK (info.st_mode))
            return false;

        // Group read and write, plus group search on folders: the nearest
        // equivalent of the Users group's modify rights.
        auto mode = info.st_mode | S_IRGRP | S_IWGRP;

        if (S_ISDIR (info.st_mode))
            mode |= S_IXGRP;

        return chmod (native, mode & 07777) == 0;
    }

    void grantUsersAccessRecursively (const juce::File& folder)
    {
        grantUsersAccess (folder);

        auto* dir = opendir (folder.getFullPathName().toRawUTF8());

        if (dir == nullptr)
            return;

        while (auto* entry = readdir (dir))
        {
            const juce::String name (juce::CharPointer_UTF8 (entry->d_name));

            if (name == "." || name == "..")
                continue;

            auto child = folder.getChildFile (name);

            if (child.isDirectory() && ! child.isSymbolicLink())
                grantUsersAccessRecursively (child);
            else
                grantUsersAccess (child);
        }

        closedir (dir);
    }
}
