#pragma once

#include <juce_core/juce_core.h>

/** Opening the machine-wide data folder to every account on the computer.

    On Windows this adds an entry for the built-in Users group with modify
    rights (inherited by new files and folders) to the object's access list.
    On Linux the folders belong to the user; group read and write are added,
    which matters only where the root is shared between accounts.
*/
namespace FolderAccess
{
    /** One file or folder. Returns true when the new access was applied. */
    bool grantUsersAccess (const juce::File& path);

    /** The folder and everything below it, depth first. Failures are ignored,
        each object on its own, and the walk goes on. Links (symbolic links,
        junctions) are neither followed nor changed: the app runs elevated,
        and a link planted in the shared folder must not pass the new rights
        on to whatever it points at. */
    void grantUsersAccessRecursively (const juce::File& folder);
}
