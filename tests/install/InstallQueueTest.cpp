// The queue without a window: slots, stops while waiting, outcomes taken
// once, and quitting. The work of each job is a stand-in that holds its slot
// until the test lets it go; the real download and unpacking are tested
// against the demo service elsewhere.

#include "install/InstallQueue.h"
#include "install/ProductNameAliases.h"
#include "platform/WorkInFlight.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <atomic>

namespace
{
    /** Work that reports the downloading phase and holds its slot until released
        or stopped, then completes as the sequence would. */
    struct HeldWork
    {
        juce::WaitableEvent release { true };
        std::atomic<int> running { 0 }, started { 0 };
        const int workBefore = WorkInFlight::count();

        // The job threads use this object: they must all be gone first.
        ~HeldWork()
        {
            release.signal();
            EXPECT_TRUE (waitWithoutPumping ([this] { return WorkInFlight::count() == workBefore; }));
        }

        InstallQueueOptions options()
        {
            InstallQueueOptions o;
            o.slotPollMs = 20;
            o.work = [this] (InstallJobPtr job, const InstallRequest&, const InstallSequenceOptions&)
            {
                ++running;
                ++started;
                job->reportProgress (0.5, InstallPhase::downloading);

                while (! release.wait (10))
                    if (job->cancelRequested)
                        break;

                --running;
                if (job->cancelRequested)
                    job->complete (true, true, "stopped");
                else
                    job->complete (true, false, {});
            };
            return o;
        }
    };

    InstallRequest requestFor (const juce::String& title)
    {
        InstallRequest request;
        request.title = title;
        return request;
    }

}

TEST (InstallQueue, FiveJobsShareThreeSlotsAndEachOutcomeIsTakenOnce)
{
    HeldWork work;
    InstallQueue queue (work.options());
    const juce::StringArray keys { "a", "b", "c", "d", "e" };

    for (auto& key : keys)
        ASSERT_NE (queue.start (key, requestFor (key)), nullptr);

    EXPECT_EQ (queue.start ("c", requestFor ("c")), nullptr) << "one job per product";
    ASSERT_TRUE (waitWithoutPumping ([&] { return work.running.load() == 3; }));
    juce::Thread::sleep (100);   // several polls of the waiting jobs
    EXPECT_EQ (work.running.load(), 3);
    EXPECT_EQ (queue.slots().inUse(), 3);

    int waiting = 0;
    for (auto& key : keys)
    {
        auto job = queue.jobFor (key);
        ASSERT_NE (job, nullptr);
        EXPECT_TRUE (job->isBusy());
        waiting += job->phase() == InstallPhase::waiting ? 1 : 0;
        EXPECT_FALSE (queue.takeOutcome (key).has_value()) << "no outcome while the job runs";
    }
    EXPECT_EQ (waiting, 2);

    work.release.signal();
    ASSERT_TRUE (waitWithoutPumping ([&] { return work.started.load() == 5 && queue.slots().inUse() == 0; }));

    for (auto& key : keys)
    {
        ASSERT_TRUE (waitWithoutPumping ([&] { return ! queue.jobFor (key)->isBusy(); }));
        const auto outcome = queue.takeOutcome (key);
        ASSERT_TRUE (outcome.has_value());
        EXPECT_TRUE (outcome->ok);
        EXPECT_FALSE (outcome->stopped);
        EXPECT_FALSE (queue.takeOutcome (key).has_value()) << "a second taker gets nothing";
    }

    EXPECT_EQ (queue.size(), 0);
    EXPECT_EQ (queue.slots().mostInUse(), 3);
}

TEST (InstallQueue, StopWhileWaitingEndsWithoutTakingASlotAndStopWhileRunningFreesIt)
{
    HeldWork work;
    InstallQueue queue (work.options());

    for (auto key : { "a", "b", "c", "d" })
        queue.start (key, requestFor (key));

    ASSERT_TRUE (waitWithoutPumping ([&] { return work.running.load() == 3; }));
    juce::String waitingKey, runningKey;
    for (auto key : { "a", "b", "c", "d" })
        (queue.jobFor (key)->phase() == InstallPhase::waiting ? waitingKey : runningKey) = key;
    ASSERT_TRUE (waitingKey.isNotEmpty());
    auto waitingJob = queue.jobFor (waitingKey);

    waitingJob->requestStop();
    ASSERT_TRUE (waitWithoutPumping ([&] { return ! waitingJob->isBusy(); }, 2000)) << "a waiting job ends within a poll";
    const auto stopped = queue.takeOutcome (waitingKey);
    ASSERT_TRUE (stopped.has_value());
    EXPECT_TRUE (stopped->ok);
    EXPECT_TRUE (stopped->stopped);
    EXPECT_EQ (stopped->message, "stopped");
    EXPECT_EQ (work.started.load(), 3) << "the stopped job never ran";

    queue.jobFor (runningKey)->requestStop();
    ASSERT_TRUE (waitWithoutPumping ([&] { return queue.slots().inUse() == 2; }));
    ASSERT_TRUE (waitWithoutPumping ([&] { return queue.jobFor (runningKey)->isComplete(); }));
    EXPECT_TRUE (queue.takeOutcome (runningKey)->stopped);

    work.release.signal();
}

TEST (InstallQueue, QuittingStopsEveryJobAndWaitsForItsThread)
{
    HeldWork work;
    const auto before = WorkInFlight::count();

    {
        InstallQueue queue (work.options());
        for (auto key : { "a", "b", "c", "d", "e" })
            queue.start (key, requestFor (key));

        ASSERT_TRUE (waitWithoutPumping ([&] { return work.running.load() == 3; }));
        EXPECT_EQ (WorkInFlight::count(), before + 5);

        EXPECT_TRUE (WorkInFlight::stopAll (WorkInFlight::quitTimeoutMs).isEmpty());
        EXPECT_EQ (WorkInFlight::count(), before);
        EXPECT_EQ (work.running.load(), 0);

        for (auto key : { "a", "b", "c", "d", "e" })
            EXPECT_TRUE (queue.takeOutcome (key)->stopped) << key;
    }
}

TEST (InstallQueue, CompletionCallbackRunsOnceWithTheOutcome)
{
    HeldWork work;
    work.release.signal();
    InstallQueue queue (work.options());
    std::atomic<int> calls { 0 };
    std::atomic<bool> okSeen { false };

    queue.start ("a", requestFor ("a"), [&] (bool ok, bool, const juce::String&) { okSeen = ok; ++calls; });
    ASSERT_TRUE (waitWithoutPumping ([&] { return calls.load() == 1; }));
    juce::Thread::sleep (50);
    EXPECT_EQ (calls.load(), 1);
    EXPECT_TRUE (okSeen.load());
}

TEST (ProductNameAliases, KnownNamesAndEverythingElseUnchanged)
{
    struct Case { const char* name; const char* requested; const char* shown; };
    const Case cases[] = {
        { "S\xc3\xb8lvkant", "s0lvkant",   "s0lvkant" },
        { "Fjellvind",       "fjellvind",  "Fjellvind" },
        { "Fjellvind2",      "fjellvind",  "Fjellvind2" },
        { "fjellvind2",      "fjellvind2", "fjellvind2" },   // exact, case included
        { "s\xc3\xb8lvkant", "s\xc3\xb8lvkant", "s\xc3\xb8lvkant" },
        { "My Synth",        "My Synth",   "My Synth" },
    };

    for (const auto& c : cases)
    {
        const auto name = juce::String::fromUTF8 (c.name);
        EXPECT_EQ (ProductNameAliases::downloadRequestName (name), juce::String::fromUTF8 (c.requested)) << c.name;
        EXPECT_EQ (ProductNameAliases::displayName (name), juce::String::fromUTF8 (c.shown)) << c.name;
    }
}
