#pragma once

#include <juce_core/juce_core.h>

/** Editing the user's mimeapps.list the way `xdg-mime default` does, as
    text, so the rules are tested without files. */
namespace MimeAppsList
{
    inline constexpr const char* defaultSection = "[Default Applications]";

    /** The file's text with desktopEntry as the default for mimeType: the
        first "<mimeType>=" line of the [Default Applications] section is
        replaced, later ones there are dropped (the first would win anyway),
        or the line is added at the end of that section, which is added at
        the end of the file when missing. Every other line stays as it was,
        line ending included. */
    juce::String withDefaultApplication (const juce::String& text, const juce::String& mimeType,
                                         const juce::String& desktopEntry);
}
