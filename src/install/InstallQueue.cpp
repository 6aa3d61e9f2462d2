#include "install/InstallQueue.h"

#include "log/DiagnosticLog.h"
#include "platform/WorkInFlight.h"

#include <cstdio>

namespace
{
    /** The body of a job's thread: waits for a slot, installs, gives the slot back. */
    void downloadToFile (InstallJobPtr job, const InstallRequest& request, InstallSlots& slots,
                         const InstallQueueOptions& options)
    {
        writeLog ("downloadToFile enter " + request.title);

        while (! slots.tryTake())
        {
            if (job->cancelRequested)
            {
                std::fputs ("install cancelled while waiting\n", stdout);
                std::fflush (stdout);
                job->complete (true, true, "stopped");
                return;
            }

            juce::Thread::sleep (options.slotPollMs);
        }

        if (options.work)
            options.work (job, request, options.sequence);
        else
            downloadAndInstall (job, request, options.sequence);

        slots.give();
        writeLog ("downloadToFile exit " + request.title);
    }
}

InstallQueue::InstallQueue (InstallQueueOptions queueOptions)
    : options (std::move (queueOptions)),
      sharedSlots (std::make_shared<InstallSlots> (options.slotLimit))
{
}

InstallQueue::~InstallQueue()
{
    stopAll();
}

InstallJobPtr InstallQueue::start (const juce::String& productKey, const InstallRequest& request,
                                   InstallJob::CompletionCallback onCompletion)
{
    if (jobs.count (productKey) != 0)
        return nullptr;

    auto job = std::make_shared<InstallJob>();
    job->onDownloadAndInstallCompletion = std::move (onCompletion);
    job->markStarted();
    jobs[productKey] = job;

    // Registered before the thread exists, so a quit that comes first still
    // finds and stops it.
    auto inFlight = std::make_shared<WorkInFlight::Registration> ("install " + request.title,
                                                                  [job] { job->requestStop(); });

    juce::Thread::launch ([job, request, inFlight, slots = sharedSlots, queueOptions = options]
    {
        downloadToFile (job, request, *slots, queueOptions);
        inFlight->finished();
    });

    return job;
}

InstallJobPtr InstallQueue::jobFor (const juce::String& productKey) const
{
    const auto found = jobs.find (productKey);
    return found != jobs.end() ? found->second : nullptr;
}

bool InstallQueue::isRunning (const juce::String& productKey) const
{
    const auto job = jobFor (productKey);
    return job != nullptr && job->isBusy();
}

std::optional<InstallOutcome> InstallQueue::takeOutcome (const juce::String& productKey)
{
    const auto found = jobs.find (productKey);

    if (found == jobs.end() || found->second->isBusy() || ! found->second->isComplete())
        return std::nullopt;

    const auto outcome = found->second->outcome();
    jobs.erase (found);
    return outcome;
}

void InstallQueue::stopAll()
{
    for (auto& entry : jobs)
        entry.second->requestStop();
}
