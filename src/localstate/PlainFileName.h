#pragma once

#include <juce_core/juce_core.h>

/** True when a name taken from the catalogue can stand as one file or folder
    name inside a folder: not empty, not "." or "..", and without any path
    separator or drive colon. Names that fail would make a plugin's files or
    settings resolve outside the folder they belong in. */
bool isPlainFileName (const juce::String& name);

/** The name made into one that isPlainFileName accepts and that Windows can
    create: path separators, the drive colon, the other characters Windows
    refuses in a name (< > " | ? *) and control characters each become "_";
    a name that is then empty, "." or ".." becomes "_". A plain, valid name
    comes back unchanged. */
juce::String plainFileNameFrom (const juce::String& name);
