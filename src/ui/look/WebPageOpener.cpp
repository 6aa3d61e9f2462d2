#include "ui/look/WebPageOpener.h"

#include "log/DiagnosticLog.h"
#include "platform/Browser.h"

bool openWebPage (const juce::String& address)
{
    switch (Browser::openURL (address))
    {
        case Browser::OpenResult::opened:
            return true;
        case Browser::OpenResult::refused:
            writeLog ("Browser refused address <" + address + ">");
            return false;
        case Browser::OpenResult::launchFailed:
            writeLog ("Browser could not be started for <" + address + ">");
            return false;
    }

    return false;
}
