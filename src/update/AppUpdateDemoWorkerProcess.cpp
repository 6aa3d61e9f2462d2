#include "update/AppUpdateDemoWorkerProcess.h"

#include "log/DiagnosticLog.h"

void AppUpdateDemoWorkerProcess::handleMessageFromCoordinator (const juce::MemoryBlock& message)
{
    // Empty messages arrive when the pipe closes.
    if (message.isEmpty())
        return;

    writeLog ("worker, message from coordinator, size <" + juce::String ((int) message.getSize()) + ">");
}
