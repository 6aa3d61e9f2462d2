#pragma once

#include <juce_core/juce_core.h>

/** The XDG desktop entry that lets the desktop open a URL scheme with this
    executable. */
namespace UrlHandlerDesktopEntry
{
    /** "<scheme>-url-handler.desktop", its file name and desktop file ID. */
    juce::String fileName (const juce::String& scheme);

    /** One Exec argument: in double quotes with ", `, $ and \ escaped, % doubled
        (it would start a field code), and backslashes doubled again for the
        key file's own escaping. */
    juce::String quotedExecArgument (const juce::String& argument);

    /** The entry's text: a hidden application that runs the executable with
        the address (%u) for x-scheme-handler/<scheme>. */
    juce::String text (const juce::String& scheme, const juce::String& executablePath);
}
