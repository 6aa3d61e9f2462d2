#include "ui/pages/SettingsRules.h"

namespace SettingsRules
{
    Guard guard (const bool (&active)[3], bool changed, bool pathInfoShown)
    {
        if (! active[0] && ! active[1] && ! active[2])
            return Guard::noFormatChosen;

        if (changed && ! pathInfoShown)
            return Guard::showPathInfo;

        return Guard::pass;
    }

    juce::String appliedFolder (const juce::String& typed, const juce::String& defaultFolder,
                                const juce::String& separator)
    {
        auto folder = typed.isEmpty() ? defaultFolder : typed;

        if (! folder.endsWith (separator))
            folder << separator;

        return folder;
    }

    juce::String testServerOrDefault (const juce::String& typed, const juce::String& defaultServer)
    {
        return typed.isEmpty() ? defaultServer : typed;
    }
}
