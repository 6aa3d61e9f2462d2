#pragma once

#include <juce_events/juce_events.h>

class VamretApplication;

/** The update-worker role: a new build of the application started by the old
    one during a self-update. It opens no window until the old process has
    handed over the sign-in token. */
class AppUpdateDemoWorkerProcess : public juce::ChildProcessWorker,
                                   private juce::DeletedAtShutdown
{
public:
    static constexpr const char* uniqueID = "demoUID";
    static constexpr int timeoutMs = 60000;

    explicit AppUpdateDemoWorkerProcess (VamretApplication& app);

    void handleMessageFromCoordinator (const juce::MemoryBlock& message) override;

private:
    VamretApplication& application;
};
