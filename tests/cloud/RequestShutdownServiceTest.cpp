#include "cloud/VamretRequest.h"
#include "support/DemoServiceFixture.h"

#include <chrono>
#include <cstdio>

namespace
{
    const char* const childVariable = "VAMRHELPER_SHUTDOWN_CHILD";
}

// Run only inside the child process started below: leaves a request waiting
// on a service that does not answer, and lets the test binary shut JUCE down.
TEST (RequestShutdownChild, LeavesARequestRunningAtExit)
{
    if (juce::SystemStats::getEnvironmentVariable (childVariable, {}).isEmpty())
        GTEST_SKIP() << "runs only as the child of RequestShutdown";

    // Kept alive past JUCE's shutdown on purpose: it must still be stalling then.
    auto* service = new demoservice::DemoService();
    ASSERT_TRUE (service->start (0));
    service->faults().setLatency (std::chrono::milliseconds (60000));

    sendAsync (juce::URL (juce::String (service->apiBase()) + "/vds/auth").withPOSTData ("{}"), {},
               [] (VamretResponse) { std::printf ("callback ran after shutdown\n"); });

    juce::Thread::sleep (300);   // the request is now waiting for its answer
    std::printf ("request pending at exit\n");
}

TEST (RequestShutdown, PendingRequestIsDroppedQuietlyWhenTheAppQuits)
{
    if (runningUnderWine())
        GTEST_SKIP() << wineKeepsStalledReads;

    ScopedEnvironmentVariable child (childVariable, "1");
    const auto self = juce::File::getSpecialLocation (juce::File::currentExecutableFile);

    juce::ChildProcess process;
    ASSERT_TRUE (process.start (juce::StringArray { self.getFullPathName(), "--gtest_filter=RequestShutdownChild.*" }));
    const auto output = process.readAllProcessOutput();

    ASSERT_TRUE (process.waitForProcessToFinish (30000)) << output;
    EXPECT_EQ (process.getExitCode(), 0u) << output;
    EXPECT_TRUE (output.contains ("request pending at exit")) << output;
    EXPECT_TRUE (output.contains ("[  PASSED  ] 1 test")) << output;
    EXPECT_FALSE (output.contains ("callback ran after shutdown")) << output;
    EXPECT_FALSE (output.contains ("was killed")) << "the transfer must be cancelled, not the thread killed\n" << output;
}
