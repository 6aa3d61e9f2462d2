#include "platform/linux/UrlHandlerDesktopEntryLinux.h"

namespace UrlHandlerDesktopEntry
{
    juce::String fileName (const juce::String& scheme)
    {
        return scheme + "-url-handler.desktop";
    }

    juce::String quotedExecArgument (const juce::String& argument)
    {
        juce::String quoted ("\"");

        for (auto c : argument)
        {
            if (c == '"' || c == '`' || c == '$' || c == '\\')
                quoted << '\\';

            if (c == '%')
                quoted << '%';

            quoted << juce::String::charToString (c);
        }

        quoted << "\"";
        return quoted.replace ("\\", "\\\\");
    }

    juce::String text (const juce::String& scheme, const juce::String& executablePath)
    {
        // Hidden from menus: it exists only to take the links.
        return juce::String ("[Desktop Entry]\n")
             + "Type=Application\n"
             + "Name=" JUCE_APPLICATION_NAME_STRING "\n"
             + "Exec=" + quotedExecArgument (executablePath) + " %u\n"
             + "MimeType=x-scheme-handler/" + scheme + ";\n"
             + "NoDisplay=true\n";
    }
}
