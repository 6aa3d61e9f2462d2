#include "platform/UrlSchemeRegistration.h"

#include "platform/ConsoleText.h"
#include "platform/UrlSchemeTexts.h"

namespace UrlSchemeRegistration
{
    void registerUrlScheme()
    {
        const auto executable = juce::File::getSpecialLocation (juce::File::currentExecutableFile);

        if (registerProtocol (signInScheme, executable.getFullPathName()))
            ConsoleText::toOutput (UrlSchemeTexts::ready (juce::String (signInScheme).toWideCharPointer()));
        else
            ConsoleText::toError (UrlSchemeTexts::failed());
    }
}
