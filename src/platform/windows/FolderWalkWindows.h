#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <functional>

/** The depth-first walk behind FolderAccess::grantUsersAccessRecursively.

    Links (junctions, symbolic links, any reparse point) are neither entered
    nor visited: the walk runs elevated, and a link that an ordinary user
    planted in the shared data folder must not carry the Users group's new
    rights to the place it points at (C:\Windows, say). A loop of junctions
    would also never end.
*/
namespace FolderWalk
{
    enum class EntryKind { folder, file, link };

    /** How the walk treats an object with these Win32 file attributes. */
    EntryKind classify (std::uint32_t attributes);

    /** Visits `folder`, then everything below it, depth first in the order
        the file system lists the entries: a folder before its contents.
        A missing folder, or one that is itself a link, is not visited. */
    void visitRecursively (const juce::File& folder, const std::function<void (const juce::File&)>& visit);
}
