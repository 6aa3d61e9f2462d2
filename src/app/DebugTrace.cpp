#include "app/DebugTrace.h"

#include "app/log/DiagnosticLog.h"

void dumpCommandeLineForDebug (const juce::String& text)
{
    writeLog ("dumpCommandeLineForDebug:" + text);
}
