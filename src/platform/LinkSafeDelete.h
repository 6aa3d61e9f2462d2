#pragma once

#include <juce_core/juce_core.h>

/** Deleting folders that may hold links.

    The app runs elevated and deletes inside folders that other accounts can
    write to. A symbolic link or junction planted in a plugin bundle or a
    data folder must never lead a delete to the place it points at. JUCE's
    File::deleteRecursively decides by isSymbolicLink, which on Linux is a
    readlink and on Windows any reparse point, before it descends; that works
    for the common case but leaves the check and the descent apart. This
    module never opens what a link points at: on Linux it walks by directory
    handles that refuse links, on Windows it reads each entry's attributes
    from the listing itself.
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
