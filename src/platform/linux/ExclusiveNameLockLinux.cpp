#include "platform/ExclusiveNameLock.h"

#include "platform/linux/PrivateRuntimeFolderLinux.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
    /** Empty when there is no private folder to keep it in. */
    juce::String lockFilePath (const juce::String& name)
    {
        const auto folder = privateRuntimeFolder();

        if (folder == juce::File())
            return {};

        return folder.getChildFile (juce::File::createLegalFileName (name) + ".lock").getFullPathName();
    }

    bool sameFile (int descriptor, const juce::String& path)
    {
        struct stat opened {}, named {};
        return fstat (descriptor, &opened) == 0
            && stat (path.toRawUTF8(), &named) == 0
            && opened.st_dev == named.st_dev
            && opened.st_ino == named.st_ino;
    }
}

struct ExclusiveNameLock::Holder
{
    int descriptor = -1;
    juce::String path;
};

ExclusiveNameLock::HeldName ExclusiveNameLock::take (const juce::String& lockName)
{
    const auto path = lockFilePath (lockName);

    if (path.isEmpty())
        return {};

    // Close-on-exec: a child process must never keep the name held after we quit.
    const int descriptor = open (path.toRawUTF8(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);

    if (descriptor < 0)
        return {};

    // A lock on a file that its last holder removed in the meantime holds
    // nothing; the next try makes a fresh file.
    if (flock (descriptor, LOCK_EX | LOCK_NB) != 0 || ! sameFile (descriptor, path))
    {
        close (descriptor);
        return {};
    }

    HeldName held (new Holder());
    held->descriptor = descriptor;
    held->path = path;
    return held;
}

void ExclusiveNameLock::GiveBack::operator() (Holder* holder) const noexcept
{
    // Removed while still locked, so nobody can lock this file in between
    // and believe they hold the name.
    unlink (holder->path.toRawUTF8());
    close (holder->descriptor);
    delete holder;
}

bool ExclusiveNameLock::isTaken (const juce::String& lockName)
{
    const auto path = lockFilePath (lockName);

    if (path.isEmpty())
        return false;

    const int descriptor = open (path.toRawUTF8(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);

    if (descriptor < 0)
        return false;

    const bool free = flock (descriptor, LOCK_EX | LOCK_NB) == 0;
    close (descriptor);   // also drops the probe's own lock
    return ! free;
}
