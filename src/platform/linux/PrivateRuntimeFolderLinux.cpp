#include "platform/linux/PrivateRuntimeFolderLinux.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

juce::File privateRuntimeFolder (const juce::File& parent)
{
    const auto folder = parent.getChildFile ("vamrhelper-" + juce::String ((juce::int64) getuid()));
    const auto path = folder.getFullPathName();

    if (mkdir (path.toRawUTF8(), 0700) != 0 && errno != EEXIST)
        return {};

    // lstat: a symbolic link in its place is refused, not followed.
    struct stat info {};

    if (lstat (path.toRawUTF8(), &info) != 0 || ! S_ISDIR (info.st_mode) || info.st_uid != getuid())
        return {};

    if ((info.st_mode & 077) != 0 && chmod (path.toRawUTF8(), 0700) != 0)
        return {};

    return folder;
}

juce::File privateRuntimeFolder()
{
    return privateRuntimeFolder (juce::File ("/tmp"));
}
