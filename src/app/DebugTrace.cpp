#include "app/DebugTrace.h"

#include "log/DiagnosticLog.h"

void dumpCommandeLineForDebug (const juce::String& text)
{
    writeLog ("dumpCommandeLineForDebug:" + text);
}
