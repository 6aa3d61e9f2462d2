#include "support/FileLinks.h"

#include <windows.h>

#ifndef SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
 #define SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE 0x2
#endif

bool makeLink (const juce::File& link, const juce::File& target)
{
    DWORD flags = target.isDirectory() ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0;

    // Developer mode lets an unprivileged process make links; an elevated one may anyway.
    if (CreateSymbolicLinkW (link.getFullPathName().toWideCharPointer(), target.getFullPathName().toWideCharPointer(),
                             flags | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) != FALSE)
        return true;

    return CreateSymbolicLinkW (link.getFullPathName().toWideCharPointer(), target.getFullPathName().toWideCharPointer(),
                                flags) != FALSE;
}
