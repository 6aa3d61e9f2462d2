#include "install/InstallJob.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

TEST (InstallJob, ProgressIsStoredAndPassedOn)
{
    InstallJob job;
    std::vector<std::pair<double, InstallPhase>> reports;
    job.onProgress = [&] (double fraction, InstallPhase phase) { reports.emplace_back (fraction, phase); };

    job.markStarted();
    EXPECT_TRUE (job.isBusy());
    EXPECT_EQ (job.phase(), InstallPhase::waiting);

    job.reportProgress (0.25, InstallPhase::downloading);
    job.reportProgress (0.5, InstallPhase::installing);

    EXPECT_FLOAT_EQ (job.progress(), 0.5f);
    EXPECT_EQ (job.phase(), InstallPhase::installing);
    ASSERT_EQ (reports.size(), 2u);
    EXPECT_EQ (reports[0], std::make_pair (0.25, InstallPhase::downloading));
    EXPECT_EQ (static_cast<int> (InstallPhase::installing), 2);
}

TEST (InstallJob, OutcomeIsDeliveredExactlyOnceAmongRacingEndings)
{
    for (int round = 0; round < 50; ++round)
    {
        auto job = std::make_shared<InstallJob>();
        std::atomic<int> calls { 0 };
        juce::String delivered;
        job->onDownloadAndInstallCompletion = [&] (bool, bool, const juce::String& message)
        {
            ++calls;
            delivered = message;
        };
        job->markStarted();

        std::atomic<int> winners { 0 };
        std::vector<std::thread> threads;

        for (int i = 0; i < 4; ++i)
            threads.emplace_back ([job, i, &winners]
            {
                if (job->complete (i % 2 == 0, false, "ending " + juce::String (i)))
                    ++winners;
            });

        for (auto& t : threads)
            t.join();

        EXPECT_EQ (calls.load(), 1);
        EXPECT_EQ (winners.load(), 1);
        EXPECT_FALSE (job->isBusy());
        ASSERT_TRUE (job->isComplete());
        EXPECT_EQ (job->outcome().message, delivered);
        EXPECT_EQ (job->outcome().ok, delivered.getTrailingIntValue() % 2 == 0);
    }
}
