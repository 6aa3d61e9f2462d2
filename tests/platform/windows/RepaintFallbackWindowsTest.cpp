// A real window of this process on the desktop: a repaint asked for after
// its first frame must reach the screen, vertical blanks or not. Under Wine
// on a virtual X server none arrive, so this is the fallback's own case.

#include "platform/RepaintFallback.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    struct CountingWindow : public juce::Component
    {
        CountingWindow()
        {
            setOpaque (true);
            setBounds (100, 100, 200, 120);
            addToDesktop (juce::ComponentPeer::windowHasDropShadow);
            setVisible (true);
        }

        ~CountingWindow() override { removeFromDesktop(); }

        void paint (juce::Graphics& g) override
        {
            ++paints;
            g.fillAll (juce::Colours::darkgrey);
        }

        int paints = 0;
    };
}

TEST (RepaintFallback, LaterRepaintsOfAShownWindowArePainted)
{
    RepaintFallback::start();

    {
        CountingWindow window;
        ASSERT_TRUE (pumpUntil ([&] { return window.paints > 0; }, 5000)) << "no first frame";

        // Well past the grace time, so that only vertical blanks or the
        // fallback can carry the next repaints.
        pumpUntil ([] { return false; }, RepaintFallback::graceMs * 2);

        for (int round = 0; round < 3; ++round)
        {
            const auto before = window.paints;
            window.repaint();
            EXPECT_TRUE (pumpUntil ([&] { return window.paints > before; }, 2000)) << "round " << round;
        }

        std::printf ("windows driven by the fallback: %d\n", RepaintFallback::drivenWindowCount());
    }

    // The window has gone: nothing is left to drive.
    pumpUntil ([] { return false; }, RepaintFallback::watchIntervalMs * 3);
    EXPECT_EQ (RepaintFallback::drivenWindowCount(), 0);
    RepaintFallback::stop();
}
