#pragma once

#include <juce_events/juce_events.h>

/** The update-worker role: a new build of the application started by the old
    one during a self-update. It opens no window until the old process has
    handed over the sign-in token. */
class AppUpdateDemoWorkerProcess : public juce::ChildProcessWorker,
                                   private juce::DeletedAtShutdown
{
public:
    static constexpr const char* uniqueID = "demoUID";
    static constexpr int timeoutMs = 60000;

    void handleMessageFromCoordinator (const juce::MemoryBlock& message) override;
};
