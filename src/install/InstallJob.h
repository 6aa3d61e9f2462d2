#pragma once

#include "platform/HttpTransferStop.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

/** The phase that goes with a progress value. */
enum class InstallPhase
{
    waiting = 0,       // nothing started yet (waiting for a slot)
    downloading = 1,
    installing = 2     // unpacking
};

using installProgressPhase = InstallPhase;

/** How a job ended. */
struct InstallOutcome
{
    bool ok = false;
    bool stopped = false;
    juce::String message;
};

/** One running install: the state its worker thread and the interface share.

    Held through std::shared_ptr by the worker and by whoever shows it, so a
    cell that is deleted and recreated while the job runs loses nothing: the
    record carries progress, phase, busy flag and outcome, all readable
    without a lock. The outcome is written before busy is cleared (release)
    and is visible to anyone who has seen busy cleared (acquire).

    The two callbacks are set before the worker starts and are only read by
    the worker afterwards. */
class InstallJob
{
public:
    using ProgressCallback = std::function<void (double fraction, InstallPhase phase)>;
    using CompletionCallback = std::function<void (bool ok, bool stopped, const juce::String& message)>;

    /** Set by the Stop button; read by the worker where stopping is honoured. */
    std::atomic<bool> cancelRequested { false };

    ProgressCallback onProgress;
    CompletionCallback onDownloadAndInstallCompletion;

    /** Sets cancelRequested and breaks off the download's running transfer,
        so a stop takes effect within one read even on a silent connection.
        Any thread. */
    void requestStop();

    /** The download publishes its transfer's stop object here while it runs
        (nullptr when it ends), so requestStop() can reach it. */
    void setTransferStop (std::shared_ptr<HttpTransferStop> stop);

    /** Marks the job as running, at progress 0 in the waiting phase. */
    void markStarted();

    /** Stores the values and passes them to onProgress. Worker thread. */
    void reportProgress (double fraction, InstallPhase phase);

    /** Delivers the outcome: stores it, clears busy, then calls
        onDownloadAndInstallCompletion. Only the first call per job does
        anything; it returns false for every later one. */
    bool complete (bool ok, bool stopped, const juce::String& message);

    float progress() const noexcept        { return progressValue.load(); }
    InstallPhase phase() const noexcept    { return static_cast<InstallPhase> (phaseValue.load()); }
    bool isBusy() const noexcept           { return busy.load (std::memory_order_acquire); }
    bool isComplete() const noexcept       { return completion.load (std::memory_order_acquire) == delivered; }

    /** The outcome; meaningful only once isComplete() is true. */
    InstallOutcome outcome() const;

private:
    enum : int { pending = 0, delivering = 1, delivered = 2 };

    std::atomic<float> progressValue { 0.0f };
    std::atomic<int> phaseValue { static_cast<int> (InstallPhase::waiting) };
    std::atomic<bool> busy { false };
    std::atomic<int> completion { pending };
    InstallOutcome result;   // written once, before completion becomes delivered

    std::mutex transferStopLock;
    std::shared_ptr<HttpTransferStop> transferStop;
};

using InstallJobPtr = std::shared_ptr<InstallJob>;
