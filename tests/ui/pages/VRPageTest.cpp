#include "support/ComponentTesting.h"
#include "support/TestEnvironment.h"
#include "ui/pages/VRPage.h"

#include <gtest/gtest.h>

namespace
{
    int childCount (juce::Component& parent, juce::Component& child)
    {
        int n = 0;

        for (auto* c : parent.getChildren())
            n += (c == &child) ? 1 : 0;

        return n;
    }
}

TEST (VRPage, LayoutOfSpinnerAndHeader)
{
    const struct { int w, h; juce::Rectangle<int> spinner; } cases[] = {
        { 700, 500, { 300, 200, 100, 100 } },
        { 701, 501, { 300, 200, 100, 100 } },
        { 820, 600, { 360, 250, 100, 100 } },
        { 100, 100, { 0, 0, 100, 100 } },
    };

    for (const auto& c : cases)
    {
        VRPage page;
        page.setSize (c.w, c.h);
        EXPECT_EQ (page.spinner.getBounds(), c.spinner) << c.w << " x " << c.h;
        EXPECT_EQ (page.header.getBounds(), juce::Rectangle<int> (100, 0, c.w - 100, 54));
    }

    VRPage page;
    page.setSize (700, 500);
    EXPECT_TRUE (page.header.isVisible());
    EXPECT_EQ (page.header.getParentComponent(), &page);
    EXPECT_EQ (page.getLocalArea (&page.header, page.header.button.getBounds()), juce::Rectangle<int> (664, 11, 24, 24));
    EXPECT_EQ (page.spinner.getParentComponent(), nullptr);
    EXPECT_EQ (page.spinner.colour.getARGB(), 0xffffffffu);
}

TEST (VRPage, SpinnerShowsInFrontOnceAndStopsWhenHidden)
{
    VRPage page;
    page.setVisible (true);
    page.setSize (700, 500);
    juce::Label later;
    page.addAndMakeVisible (later);

    // Hiding a spinner that is not shown changes nothing.
    page.showSpinner (false);
    EXPECT_EQ (page.getNumChildComponents(), 2);

    page.showSpinner (true);
    page.showSpinner (true);
    EXPECT_EQ (childCount (page, page.spinner), 1);
    EXPECT_EQ (page.getChildren().getLast(), &page.spinner);
    EXPECT_TRUE (page.spinner.isVisible());
    EXPECT_TRUE (page.spinner.isTimerRunning());
    EXPECT_EQ (page.spinner.getTimerInterval(), 16);
    bool clicksOnSpinner = false, clicksOnChildren = false;
    page.spinner.getInterceptsMouseClicks (clicksOnSpinner, clicksOnChildren);
    EXPECT_TRUE (clicksOnSpinner && clicksOnChildren);
    EXPECT_EQ (page.getComponentAt (350, 250), &page.spinner);

    // Shown: it draws.
    EXPECT_GT (maximumAlpha (paintToImage (page.spinner), page.spinner.getLocalBounds()), 200);

    page.showSpinner (false);
    EXPECT_EQ (page.spinner.getParentComponent(), nullptr);
    EXPECT_FALSE (page.spinner.isTimerRunning());
    EXPECT_EQ (maximumAlpha (paintToImage (page.spinner), page.spinner.getLocalBounds()), 0);
}

TEST (VRPage, SpokeBrightnessStepsClockwiseEveryTenthOfASecond)
{
    // At t = 0 the last spoke (330 degrees) is brightest; 100 ms later the first.
    EXPECT_EQ (VRPage::Spinner::spokeAlpha (11, 0), 255);
    EXPECT_EQ (VRPage::Spinner::spokeAlpha (0, 0), 21);
    EXPECT_EQ (VRPage::Spinner::spokeAlpha (0, 100), 255);
    EXPECT_EQ (VRPage::Spinner::spokeAlpha (1, 100), 21);
    EXPECT_EQ (VRPage::Spinner::spokeAlpha (6, 100), 128);
    EXPECT_EQ (VRPage::Spinner::spokeAlpha (0, 199), 255);
    EXPECT_EQ (VRPage::Spinner::spokeAlpha (1, 200), 255);
    EXPECT_EQ (VRPage::Spinner::spokeAlpha (0, 1200), VRPage::Spinner::spokeAlpha (0, 0));

    // Each clock reading has one spoke at each of the twelve levels.
    for (juce::uint32 t : { 0u, 300u, 1150u, 4294967200u })
    {
        std::set<int> levels;
        for (int i = 0; i < 12; ++i)
            levels.insert (VRPage::Spinner::spokeAlpha (i, t));
        EXPECT_EQ (levels.size(), 12u) << t;
    }

    EXPECT_EQ (VRPage::Spinner::spokeAlpha (0, 100, 128), 128);
}

TEST (VRPage, SpinnerSpokesOnAHundredPixelSquare)
{
    VRPage::Spinner spinner;
    spinner.setSize (100, 100);

    juce::Image image (juce::Image::ARGB, 100, 100, true);
    {
        juce::Graphics g (image);
        spinner.paintAt (g, 100);
    }

    // Spoke 0 points right at full strength, from 16 to 40 pixels out, 6 thick.
    EXPECT_EQ (image.getPixelAt (78, 50).getARGB(), 0xffffffffu);
    EXPECT_EQ (image.getPixelAt (67, 50).getAlpha(), 255);
    EXPECT_EQ (image.getPixelAt (64, 50).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (91, 50).getAlpha(), 0);
    EXPECT_EQ (image.getPixelAt (78, 52).getAlpha(), 255);
    EXPECT_EQ (image.getPixelAt (78, 54).getAlpha(), 0);

    // Spoke 6 points left at half strength; spoke 3 points down.
    EXPECT_NEAR (image.getPixelAt (21, 50).getAlpha(), 128, 2);
    EXPECT_NEAR (image.getPixelAt (50, 78).getAlpha(), VRPage::Spinner::spokeAlpha (3, 100), 2);

    // Nothing in the middle.
    EXPECT_EQ (image.getPixelAt (50, 50).getAlpha(), 0);
}

TEST (VRPage, VisibilityTimerRunsItsCallbackUntilItDeletesItself)
{
    int calls = 0;
    auto* timer = new VRPage::VisibilityTimer ({});
    timer->callback = [&calls, timer]
    {
        if (++calls == 3)
        {
            timer->stopTimer();
            delete timer;
        }
    };

    timer->startTimer (5);
    pumpUntil ([] { return false; }, 300);
    EXPECT_EQ (calls, 3);

    // Without a callback a tick does nothing; one given later is the one called.
    VRPage::VisibilityTimer late ({});
    late.timerCallback();
    int lateCalls = 0;
    late.callback = [&lateCalls] { ++lateCalls; };
    late.timerCallback();
    EXPECT_EQ (lateCalls, 1);
}
