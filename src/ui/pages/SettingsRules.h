#pragma once

#include <juce_core/juce_core.h>

/** The settings page's decisions, as plain functions. */
namespace SettingsRules
{
    /** What the guard before signing out or finishing decides. */
    enum class Guard
    {
        pass,               // go on with the action
        noFormatChosen,     // every plugin format is off: the panel stays
        showPathInfo        // folders or formats changed: explain once, the panel stays
    };

    /** Logout and Done pass only with at least one format on, and after the
        path-change information has been shown once when anything changed. */
    Guard guard (const bool (&active)[3], bool changed, bool pathInfoShown);

    /** A typed folder as the settings keep it: an empty text means the
        default folder, and the text always ends with a separator. */
    juce::String appliedFolder (const juce::String& typed, const juce::String& defaultFolder,
                                const juce::String& separator = juce::File::getSeparatorString());

    /** An empty test-server field means the built-in test server. */
    juce::String testServerOrDefault (const juce::String& typed, const juce::String& defaultServer);
}
