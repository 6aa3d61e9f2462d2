#pragma once

#include <juce_core/juce_core.h>

/** Deleting folders that may hold links.

    The app runs elevated and deletes inside folders that other accounts can
    write to. A symbolic link or junction planted in a plugin bundle or a
    data folder must never lead a delete to the place it points at.

    JUCE's File::deleteRecursively follows links when asked to; left at its
    default it checks isSymbolicLink (readlink on Linux, any reparse point on
    Windows) and then descends by path, so the check and the descent can
    disagree if the entry changes in between. Here nothing is entered that
    could be a link: on Linux the walk goes by directory handles opened with
    O_NOFOLLOW, on Windows by the attributes the listing itself returns.
*/
namespace LinkSafeDelete
{
    /** True for a symbolic link, a junction or any other reparse point,
        dangling or not. False for a missing path. */
    bool isLink (const juce::File& path);

    /** Removes a file, a link or a folder with everything inside it. A link,
        at the top or anywhere below, is removed as a link: whatever it
        points at is left exactly as it was. True when the path is gone
        (or was never there). */
    bool deleteTree (const juce::File& path);
}
