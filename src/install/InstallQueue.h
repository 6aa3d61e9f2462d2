#pragma once

#include "install/InstallJob.h"
#include "install/InstallSequence.h"
#include "install/InstallSlots.h"
#include "localstate/ProductRow.h"

#include <map>
#include <memory>
#include <optional>

struct InstallQueueOptions
{
    /** How often a job waiting for a slot looks again. */
    int slotPollMs = 1000;

    /** Jobs allowed past the wait at one time. */
    int slotLimit = InstallSlots::defaultLimit;

    InstallSequenceOptions sequence;

    /** The work of a job once it holds a slot; downloadAndInstall when empty. */
    std::function<void (InstallJobPtr, const InstallRequest&, const InstallSequenceOptions&)> work;
};

/** The running installs, keyed by product, each on a thread of its own.

    The queue outlives the cells that show the jobs: a list refresh deletes
    and recreates every cell, and a recreated cell finds its job here again.
    A job stays in the queue until its outcome has been taken, so its outcome
    reaches exactly one taker. The threads hold the job record and the slots
    themselves and never reach the queue or anything that shows a job, so
    they may outlive both. Each thread is registered as work in flight:
    quitting stops it and waits for it.

    Everything except the threads themselves runs on the message thread. */
class InstallQueue
{
public:
    explicit InstallQueue (InstallQueueOptions options = {});

    /** Asks every job to stop; their threads end on their own. */
    ~InstallQueue();

    /** Starts a job for the product, or returns nullptr when the product
        already has one. onCompletion is the job's completion callback
        (called on the job's thread for stopped and failed jobs, on the
        message thread for finished ones). */
    InstallJobPtr start (const juce::String& productKey, const InstallRequest& request,
                         InstallJob::CompletionCallback onCompletion = nullptr);

    /** The key a product's job is kept under: category and name. */
    static juce::String keyFor (const ProductRow& row) { return row.category + "/" + row.name; }

    /** True while the product's job has not ended: its files may be half
        downloaded or half placed, so nothing else may change them. */
    bool isRunning (const juce::String& productKey) const;

    /** The product's job, finished or not, until its outcome is taken. */
    InstallJobPtr jobFor (const juce::String& productKey) const;

    /** The outcome of the product's finished job, for the first caller only:
        the job then leaves the queue. Empty while the job runs. */
    std::optional<InstallOutcome> takeOutcome (const juce::String& productKey);

    /** Jobs started whose outcome has not been taken. */
    int size() const noexcept { return (int) jobs.size(); }

    /** Asks every job to stop. */
    void stopAll();

    const InstallSlots& slots() const noexcept { return *sharedSlots; }

private:
    InstallQueueOptions options;
    std::shared_ptr<InstallSlots> sharedSlots;
    std::map<juce::String, InstallJobPtr> jobs;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InstallQueue)
};
