#include "platform/WorkInFlight.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace
{
    /** A worker thread that runs until asked to stop, or, when stubborn,
        until released by the test. */
    struct Worker
    {
        explicit Worker (const juce::String& name, bool stubborn = false)
            : registration (name, [this] { stopAsked = true; })
        {
            thread = std::thread ([this, stubborn]
            {
                while (! (stubborn ? released.load() : stopAsked.load()))
                    std::this_thread::sleep_for (std::chrono::milliseconds (2));

                registration.finished();
            });
        }

        ~Worker()
        {
            released = true;
            thread.join();
        }

        std::atomic<bool> stopAsked { false }, released { false };
        WorkInFlight::Registration registration;
        std::thread thread;
    };
}

TEST (WorkInFlight, QuitStopsAllWorkAndNamesWhatOutlivesTheBound)
{
    const auto before = WorkInFlight::count();

    Worker a ("download a"), b ("download b"), stuck ("stuck picture", true);
    EXPECT_EQ (WorkInFlight::count(), before + 3);

    const auto left = WorkInFlight::stopAll (300);

    EXPECT_EQ (left, juce::StringArray ({ "stuck picture" }));
    EXPECT_TRUE (a.stopAsked && b.stopAsked && stuck.stopAsked);
    EXPECT_TRUE (a.registration.stopRequested());
    EXPECT_EQ (WorkInFlight::count(), before + 1);

    stuck.released = true;
    EXPECT_TRUE (WorkInFlight::stopAll (5000).isEmpty());
    EXPECT_EQ (WorkInFlight::count(), before);
}

TEST (WorkInFlight, FinishedWorkIsNeverAskedToStop)
{
    auto calls = std::make_shared<std::atomic<int>> (0);

    {
        WorkInFlight::Registration done ("done", [calls] { ++*calls; });
        done.finished();
        done.finished();   // twice is harmless
        EXPECT_FALSE (done.stopRequested());
    }

    WorkInFlight::Registration gone ("gone", [calls] { ++*calls; });
    gone.finished();

    EXPECT_TRUE (WorkInFlight::stopAll (100).isEmpty());
    EXPECT_EQ (calls->load(), 0);
}
