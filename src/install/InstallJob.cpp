#include "install/InstallJob.h"

void InstallJob::markStarted()
{
    progressValue.store (0.0f);
    phaseValue.store (static_cast<int> (InstallPhase::waiting));
    busy.store (true, std::memory_order_release);
}

void InstallJob::reportProgress (double fraction, InstallPhase phase)
{
    progressValue.store (static_cast<float> (fraction));
    phaseValue.store (static_cast<int> (phase));

    if (onProgress)
        onProgress (fraction, phase);
}

bool InstallJob::complete (bool ok, bool stopped, const juce::String& message)
{
    int expected = pending;

    if (! completion.compare_exchange_strong (expected, delivering))
        return false;

    result = { ok, stopped, message };
    completion.store (delivered, std::memory_order_release);
    busy.store (false, std::memory_order_release);

    if (onDownloadAndInstallCompletion)
        onDownloadAndInstallCompletion (ok, stopped, message);

    return true;
}

InstallOutcome InstallJob::outcome() const
{
    if (! isComplete())
        return {};

    return result;
}

void InstallJob::requestStop()
{
    // The flag first: a download that publishes its stop object after this
    // sees the flag before its next attempt.
    cancelRequested = true;

    const std::lock_guard<std::mutex> guard (transferStopLock);

    if (transferStop != nullptr)
        transferStop->stop();
}

void InstallJob::setTransferStop (std::shared_ptr<HttpTransferStop> stop)
{
    const std::lock_guard<std::mutex> guard (transferStopLock);
    transferStop = std::move (stop);
}
