#pragma once

#include "cloud/ForcedUpdate.h"

#include <atomic>
#include <mutex>

/** An update handler that registers itself for its lifetime and records
    what it was asked to start, from any thread. */
struct RecordingUpdateHandler : public ForcedUpdateHandler
{
    RecordingUpdateHandler()  { setForcedUpdateHandler (this); }
    ~RecordingUpdateHandler() override { setForcedUpdateHandler (nullptr); }

    bool isUpdateRunning() const override { return running; }

    void startForcedUpdate (const juce::String& url) override
    {
        const std::lock_guard<std::mutex> guard (lock);
        ++starts;
        lastUrl = url;
    }

    void startHelperUpdate (const juce::String& url, const juce::String& version, const juce::String& build) override
    {
        const std::lock_guard<std::mutex> guard (lock);
        ++helperStarts;
        lastUrl = url;
        lastVersion = version;
        lastBuild = build;
    }

    std::atomic<bool> running { false };
    std::atomic<int> starts { 0 }, helperStarts { 0 };
    std::mutex lock;
    juce::String lastUrl, lastVersion, lastBuild;
};
