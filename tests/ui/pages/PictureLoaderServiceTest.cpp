// Picture loads against the demo service with a stalled body: quitting and
// the page's destruction end them mid-transfer, and a load has a deadline.

#include "platform/WorkInFlight.h"
#include "support/DemoServiceFixture.h"
#include "ui/pages/PictureLoader.h"

namespace
{
    class PictureLoaderService : public DemoServiceFixture
    {
    protected:
        juce::String pictureAddress (const char* name = "aurora9-icon.png")
        {
            return juce::String (service.origin()) + "/files/pictures/" + name;
        }

        static bool loadStarted (PictureLoader& loader)
        {
            return pumpUntil ([&] { return loader.shared->busyThreads.load() > 0; }, 5000);
        }
    };
}

TEST_F (PictureLoaderService, QuitStopsAStalledLoadWithoutDeliveringIt)
{
    if (runningUnderWine())
        GTEST_SKIP() << wineKeepsStalledReads;

    service.faults().stallAfterBytes (100, demoservice::Faults::untilCleared, "/files/pictures/");
    bool delivered = false;

    PictureLoader loader;
    loader.load (pictureAddress(), {}, [&delivered] (juce::Image, juce::Image) { delivered = true; });
    ASSERT_TRUE (loadStarted (loader));
    EXPECT_GE (WorkInFlight::count(), 1);

    // The stall is still on: only the cancel can end the transfer in time.
    EXPECT_TRUE (WorkInFlight::stopAll (WorkInFlight::quitTimeoutMs).isEmpty());
    EXPECT_TRUE (pumpUntil ([&] { return loader.pendingLoads() == 0; }, 2000));
    EXPECT_FALSE (delivered);

    service.faults().clear();
}

TEST_F (PictureLoaderService, DestroyingTheLoaderCancelsRunningLoads)
{
    if (runningUnderWine())
        GTEST_SKIP() << wineKeepsStalledReads;

    service.faults().stallAfterBytes (100, demoservice::Faults::untilCleared, "/files/pictures/");
    const auto before = WorkInFlight::count();

    {
        PictureLoader loader;
        loader.load (pictureAddress(), pictureAddress ("aurora9-picture.png"), [] (juce::Image, juce::Image) {});
        ASSERT_TRUE (loadStarted (loader));
    }

    EXPECT_EQ (WorkInFlight::count(), before);
    service.faults().clear();
}

TEST_F (PictureLoaderService, ALoadGivesUpAtItsDeadline)
{
    PictureLoader::Shared shared;

    // The whole picture arrives, but only after a pause of 1.5 s.
    service.faults().stallAfterBytes (100, std::chrono::milliseconds (1500), "/files/pictures/");

    const auto soon = juce::Time::getMillisecondCounter() + 300;
    EXPECT_TRUE (PictureLoader::fetchPicture (shared, pictureAddress(), nullptr, soon).isNull());

    EXPECT_TRUE (PictureLoader::fetchPicture (shared, pictureAddress()).isValid()) << "no deadline: the stall ends";
    EXPECT_TRUE (PictureLoader::fetchPicture (shared, pictureAddress(), nullptr, juce::Time::getMillisecondCounter() - 1).isValid())
        << "a cached picture needs no time";
}
