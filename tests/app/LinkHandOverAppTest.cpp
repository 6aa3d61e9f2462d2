// The built application, run as separate processes in one sandbox: a
// link-started process hands its link to the running instance, or signs in
// with it itself when none runs.
#include "app/link/LinkPipeName.h"
#include "app/link/LinkPipeProtocol.h"
#include "log/DiagnosticLog.h"
#include "platform/ExclusiveNameLock.h"
#include "support/AppProcess.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace
{
    // Wine starts processes far more slowly than Linux does.
    constexpr int startTimeoutMs = 60000;

    int occurrences (const juce::String& text, const juce::String& part)
    {
        int count = 0;

        for (int at = text.indexOf (part); at >= 0; at = text.indexOf (at + part.length(), part))
            ++count;

        return count;
    }

    class AppLinkHandOver : public ::testing::Test
    {
    protected:
        void SetUp() override
        {
            if (! displayAvailable())
                GTEST_SKIP() << "no display";

            ASSERT_TRUE (AppProcess::executable().existsAsFile()) << AppProcess::executable().getFullPathName();
        }

        juce::String log() const { return logFileLocation().loadFileAsString(); }

        /** The app writes the log from another process; wait for the text. */
        bool logShows (const juce::String& text) const
        {
            return waitWithoutPumping ([&] { return log().contains (text); }, startTimeoutMs);
        }

        bool pipeOwned() const
        {
            return waitWithoutPumping ([&] { return ExclusiveNameLock::isTaken (ownerLock); }, startTimeoutMs);
        }

        /** Main components made so far; a process that hands its link over makes none. */
        int mainComponentsMade() const { return occurrences (log(), " MainComponent::initialize\r\n"); }

        static juce::String handledLine (const juce::String& link)
        {
            return "dumpCommandeLineForDebug:(anotherInstanceStarted) " + link + "\r\n";
        }

        ScopedSandbox sandbox;
        // Sign-ins fail at once: nothing listens on the discard port.
        ScopedEnvironmentVariable service { "VAMRHELPER_SERVICE", "http://127.0.0.1:9" };
        const juce::String ownerLock = LinkPipeProtocol::ownerLockName (linkPipeName());
    };
}

TEST_F (AppLinkHandOver, LinkStartedProcessesHandTheirLinksToTheRunningInstanceAndQuit)
{
    AppProcess running;
    ASSERT_TRUE (running.start());
    ASSERT_TRUE (pipeOwned()) << running.output();
    ASSERT_TRUE (logShows (" MainComponent::initialize"));

    const juce::String links[] = {
        "vamrhelper://email=first%40example.com&code=C0DE-1",
        "vamrhelper://email=second%40example.com&code=C0DE+2%2B",
    };

    for (const auto& link : links)
    {
        AppProcess linkStarted;
        const auto start = juce::Time::getMillisecondCounterHiRes();
        ASSERT_TRUE (linkStarted.start (link));
        ASSERT_TRUE (linkStarted.waitForExit (startTimeoutMs)) << "the link-started process stayed";
        const auto elapsed = juce::Time::getMillisecondCounterHiRes() - start;

        EXPECT_EQ (linkStarted.exitCode(), 0) << linkStarted.output();
        EXPECT_TRUE (linkStarted.output().contains ("VamretApplication initialise <")) << linkStarted.output();
        EXPECT_TRUE (log().contains ("sign-in link handed over to the running instance <" + link + ">\r\n"));
        EXPECT_TRUE (logShows (handledLine (link))) << log();
        std::printf ("link-started process ran %.0f ms\n", elapsed);
    }

    EXPECT_TRUE (logShows ("openWithEmailAndCode, email = <first@example.com>"));
    EXPECT_TRUE (logShows ("openWithEmailAndCode, email = <second@example.com>"));
    EXPECT_EQ (mainComponentsMade(), 1) << "a link-started process made a window";
    EXPECT_TRUE (running.isRunning());

    running.askToQuit();
    ASSERT_TRUE (running.waitForExit (startTimeoutMs));
    EXPECT_FALSE (ExclusiveNameLock::isTaken (ownerLock)) << "the pipe is still owned after its owner quit";
}

TEST_F (AppLinkHandOver, WithNoInstanceRunningTheLinkStartedProcessSignsInItself)
{
    const juce::String link ("vamrhelper://email=alone%40example.com&code=SOLO");

    AppProcess alone;
    ASSERT_TRUE (alone.start (link));

    EXPECT_TRUE (logShows ("sign-in link kept by this instance (no instance serves the pipe)")) << log();
    EXPECT_TRUE (logShows (handledLine (link))) << log();
    EXPECT_TRUE (logShows ("openWithEmailAndCode, email = <alone@example.com>")) << log();
    EXPECT_TRUE (pipeOwned()) << "the process did not become the main instance";
    EXPECT_TRUE (alone.isRunning()) << alone.output();
    EXPECT_EQ (mainComponentsMade(), 1);

    // It now takes the next link like any main instance.
    const juce::String next ("vamrhelper://email=next%40example.com&code=N");
    AppProcess linkStarted;
    ASSERT_TRUE (linkStarted.start (next));
    ASSERT_TRUE (linkStarted.waitForExit (startTimeoutMs));
    EXPECT_EQ (linkStarted.exitCode(), 0) << linkStarted.output();
    EXPECT_TRUE (logShows (handledLine (next))) << log();
    EXPECT_EQ (mainComponentsMade(), 1);

    alone.askToQuit();
    EXPECT_TRUE (alone.waitForExit (startTimeoutMs));
}

TEST_F (AppLinkHandOver, AfterTheOwnerCrashesTheNextLinkStartedProcessTakesOver)
{
    {
        AppProcess crashing;
        ASSERT_TRUE (crashing.start());
        ASSERT_TRUE (pipeOwned()) << crashing.output();
        crashing.kill();   // on Linux its FIFOs stay behind
    }

    const juce::String link ("vamrhelper://email=after%40example.com&code=CRASH");
    AppProcess next;
    ASSERT_TRUE (next.start (link));

    EXPECT_TRUE (logShows ("sign-in link kept by this instance (no instance serves the pipe)")) << log();
    EXPECT_TRUE (logShows (handledLine (link))) << log();
    EXPECT_TRUE (pipeOwned());

    next.askToQuit();
    ASSERT_TRUE (next.waitForExit (startTimeoutMs));
    EXPECT_EQ (next.exitCode(), 0) << next.output();
    EXPECT_FALSE (ExclusiveNameLock::isTaken (ownerLock));
}

namespace
{
    /** The coordinator's end of the self-update's pipe, as JUCE's
        ChildProcessCoordinator makes it (same message header), so that the app
        starts in the update worker role. Counts what the worker sends: its
        pings show that it has connected. */
    struct UpdateCoordinatorEnd : public juce::InterprocessConnection
    {
        UpdateCoordinatorEnd() : juce::InterprocessConnection (false, 0x712baf04) {}
        ~UpdateCoordinatorEnd() override { disconnect(); }

        void connectionMade() override {}
        void connectionLost() override {}
        void messageReceived (const juce::MemoryBlock&) override { ++received; }

        std::atomic<int> received { 0 };
    };
}

TEST_F (AppLinkHandOver, AnUpdateWorkerWithoutAWindowLeavesTheLinksToOthers)
{
    UpdateCoordinatorEnd coordinator;
    const auto coordinatorPipe = "p" + juce::String::toHexString (juce::Random::getSystemRandom().nextInt64());
    ASSERT_TRUE (coordinator.createPipe (coordinatorPipe, startTimeoutMs));

    AppProcess worker;
    ASSERT_TRUE (worker.startAsUpdateWorker (coordinatorPipe));
    ASSERT_TRUE (waitWithoutPumping ([&] { return coordinator.received > 0 || ! worker.isRunning(); }, startTimeoutMs));
    ASSERT_TRUE (worker.isRunning()) << worker.output();
    EXPECT_TRUE (worker.output().contains ("VamretApplication initialise <--demoUID:" + coordinatorPipe)) << worker.output();

    // The worker waits for the old process, so a link goes to an instance of its own.
    const juce::String link ("vamrhelper://email=during%40example.com&code=UPDATE");
    AppProcess linkStarted;
    ASSERT_TRUE (linkStarted.start (link));
    EXPECT_TRUE (logShows ("sign-in link kept by this instance (no instance serves the pipe)")) << log();
    EXPECT_TRUE (logShows (handledLine (link))) << log();
    ASSERT_TRUE (pipeOwned());

    // The pipe was the link-started process's: it is free once that one has quit.
    linkStarted.askToQuit();
    ASSERT_TRUE (linkStarted.waitForExit (startTimeoutMs));
    EXPECT_FALSE (ExclusiveNameLock::isTaken (ownerLock));
    EXPECT_TRUE (worker.isRunning());
    EXPECT_EQ (mainComponentsMade(), 1);
}
