#include "platform/LinkSafeDelete.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace
{
    /** Empties the folder open as folderFd, by handles relative to it, so a
        folder renamed or swapped for a link meanwhile is never entered. */
    bool emptyFolder (int folderFd)
    {
        auto* dir = fdopendir (folderFd);

        if (dir == nullptr)
        {
            close (folderFd);
            return false;
        }

        bool worked = true;

        while (auto* entry = readdir (dir))
        {
            const char* name = entry->d_name;

            if ((name[0] == '.' && name[1] == 0) || (name[0] == '.' && name[1] == '.' && name[2] == 0))
                continue;

            struct stat info {};

            if (fstatat (dirfd (dir), name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            {
                worked = false;
                continue;
            }

            if (S_ISDIR (info.st_mode))
            {
                // O_NOFOLLOW: if the entry became a link since fstatat, opening fails instead of following it.
                const int childFd = openat (dirfd (dir), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);

                if (childFd < 0 || ! emptyFolder (childFd))
                    worked = false;

                if (unlinkat (dirfd (dir), name, AT_REMOVEDIR) != 0)
                    worked = false;
            }
            else if (unlinkat (dirfd (dir), name, 0) != 0)
            {
                worked = false;
            }
        }

        closedir (dir);
        return worked;
    }
}

namespace LinkSafeDelete
{
    bool isLink (const juce::File& path)
    {
        struct stat info {};
        return path.getFullPathName().isNotEmpty()
                && lstat (path.getFullPathName().toRawUTF8(), &info) == 0
                && S_ISLNK (info.st_mode);
    }

    bool deleteTree (const juce::File& path)
    {
        const auto native = path.getFullPathName();

        if (native.isEmpty())
            return false;

        struct stat info {};

        if (lstat (native.toRawUTF8(), &info) != 0)
            return errno == ENOENT;

        if (! S_ISDIR (info.st_mode))
            return unlink (native.toRawUTF8()) == 0;

        const int folderFd = open (native.toRawUTF8(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);

        if (folderFd < 0)
            return false;

        const bool emptied = emptyFolder (folderFd);
        return rmdir (native.toRawUTF8()) == 0 && emptied;
    }
}
