#include "platform/UrlSchemeRegistration.h"

#include "platform/ConsoleText.h"
#include "platform/Locations.h"
#include "platform/UrlSchemeTexts.h"
#include "platform/linux/AtomicTextFileLinux.h"
#include "platform/linux/MimeAppsListLinux.h"
#include "platform/linux/UrlHandlerDesktopEntryLinux.h"

namespace UrlSchemeRegistration
{
    bool registerProtocol (const juce::String& scheme, const juce::String& executablePath)
    {
        // The entry first: the default handler must name an entry that exists.
        const auto entryName = UrlHandlerDesktopEntry::fileName (scheme);
        const auto entry = Locations::userDataHome().getChildFile ("applications").getChildFile (entryName);

        if (! AtomicTextFile::replace (entry, UrlHandlerDesktopEntry::text (scheme, executablePath)))
        {
            ConsoleText::toError (UrlSchemeTexts::protocolEntryFailed());
            return false;
        }

        const auto list = Locations::userConfigHome().getChildFile ("mimeapps.list");

        // An unreadable list must not be replaced by one that holds only our line.
        if (list.exists() && (list.isDirectory() || ! list.hasReadAccess()))
        {
            ConsoleText::toError (UrlSchemeTexts::commandEntryFailed());
            return false;
        }

        const auto edited = MimeAppsList::withDefaultApplication (list.loadFileAsString(),
                                                                  "x-scheme-handler/" + scheme, entryName);

        if (! AtomicTextFile::replace (list, edited))
        {
            ConsoleText::toError (UrlSchemeTexts::commandEntryFailed());
            return false;
        }

        ConsoleText::toOutput (UrlSchemeTexts::registered (scheme.toWideCharPointer()));
        return true;
    }
}
