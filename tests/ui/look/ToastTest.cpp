#include "cloud/WebPages.h"
#include "platform/Browser.h"
#include "support/ComponentTesting.h"
#include "support/TestEnvironment.h"
#include "ui/look/AppFonts.h"
#include "ui/look/Toast.h"

#include <gtest/gtest.h>

namespace
{
    /** A page-sized parent with a button covering it, to see which clicks
        still reach the page. */
    struct Page : juce::Component
    {
        Page()
        {
            setVisible (true);
            setSize (800, 600);
            addAndMakeVisible (pageButton);
            pageButton.setBounds (getLocalBounds());
        }

        juce::TextButton pageButton;
    };

    Toast* onlyToastIn (juce::Component& parent)
    {
        Toast* found = nullptr;

        for (auto* child : parent.getChildren())
            if (auto* toast = dynamic_cast<Toast*> (child))
                found = toast;

        return found;
    }

    class ToastTest : public ::testing::Test
    {
    protected:
        void SetUp() override   { Toast::toastShowing = false; }
        void TearDown() override { Toast::toastShowing = false; }
    };

}

TEST_F (ToastTest, MessageIsCentredAroundItsBoxAndFadesAway)
{
    Page page;
    Toast::showMessage ("Helper Update", "Installing new version, will restart soon", &page);

    juce::Component::SafePointer<Toast> toast (onlyToastIn (page));
    ASSERT_NE (toast, nullptr);
    EXPECT_TRUE (toast->autoDismiss);
    EXPECT_EQ (toast->getBounds(), juce::Rectangle<int> (175, 140, 450, 320));
    EXPECT_EQ (toast->getTimerInterval(), 33);
    bool clicksOnToast = true, clicksOnChildren = true;
    toast->getInterceptsMouseClicks (clicksOnToast, clicksOnChildren);
    EXPECT_FALSE (clicksOnToast);
    EXPECT_FALSE (clicksOnChildren);
    EXPECT_EQ (toast->button1, nullptr);
    EXPECT_EQ (toast->button2, nullptr);

    // Shown at z-order 100: in front of the page's own children.
    EXPECT_EQ (page.getChildren().getLast(), toast.getComponent());

    // The green box at (90, 90), 270 x 140.
    const auto image = paintToImage (*toast);
    EXPECT_EQ (image.getPixelAt (95, 100).getARGB(), 0xff4bbf49u);
    EXPECT_EQ (image.getPixelAt (90 + 269, 90 + 70).getARGB(), 0xff4bbf49u);
    EXPECT_NE (image.getPixelAt (90 + 271, 90 + 70).getARGB(), 0xff4bbf49u);

    // Short message: SemiBold 19.5.
    EXPECT_EQ (toast->messageFont().getTypefacePtr(), getAppFont (1).getTypefacePtr());
    EXPECT_FLOAT_EQ (toast->messageFont().getHeight(), 19.5f);

    // Ticks 1 ... 90 keep it opaque; then it fades and goes at tick 120.
    for (int tick = 1; tick <= 90; ++tick)
        toast->timerCallback();

    EXPECT_FLOAT_EQ (toast->getAlpha(), 1.0f);
    EXPECT_TRUE (Toast::toastShowing);

    toast->timerCallback();
    EXPECT_NEAR (toast->getAlpha(), 29.0f / 30.0f, 0.01f);

    for (int tick = 92; tick <= 105; ++tick)
        toast->timerCallback();

    EXPECT_NEAR (toast->getAlpha(), 0.5f, 0.01f);

    for (int tick = 106; tick <= 119; ++tick)
        toast->timerCallback();

    ASSERT_NE (toast, nullptr);
    EXPECT_NEAR (toast->getAlpha(), 1.0f / 30.0f, 0.01f);

    toast->timerCallback();
    EXPECT_EQ (toast, nullptr);
    EXPECT_FALSE (Toast::toastShowing);
    EXPECT_EQ (page.getNumChildComponents(), 1);
}

TEST_F (ToastTest, FadeAlphaOverTheFourthSecond)
{
    const struct { int tick; float alpha; } cases[] = {
        { 0, 1.0f }, { 89, 1.0f }, { 90, 1.0f }, { 96, 0.8f }, { 117, 0.1f }, { 120, 0.0f }
    };

    for (const auto& c : cases)
        EXPECT_NEAR (Toast::fadeAlpha (c.tick, 30), c.alpha, 0.001f) << c.tick;

    EXPECT_NEAR (Toast::fadeAlpha (45, 15), 1.0f, 0.001f);
    EXPECT_NEAR (Toast::fadeAlpha (54, 15), 0.4f, 0.001f);
}

TEST_F (ToastTest, LongMessagesUseTheLightFontAtTextHeight)
{
    Toast toast ("Error", juce::String::repeatedString ("x", 49) + juce::String::charToString (0x00e9), {}, {});
    EXPECT_EQ (toast.message.length(), 50);
    EXPECT_EQ (toast.messageFont().getTypefacePtr(), getAppFont (2).getTypefacePtr());
    EXPECT_FLOAT_EQ (toast.messageFont().getHeight(), 14.0f);

    // 49 characters that take more than 50 bytes still count as short.
    Toast shorter ("Error", juce::String::repeatedString (juce::String::charToString (0x00e9), 49), {}, {});
    EXPECT_EQ (shorter.messageFont().getTypefacePtr(), getAppFont (1).getTypefacePtr());
}

TEST_F (ToastTest, OnlyTheFirstToastWhileAnotherShowsDrawsTheShadow)
{
    Page page;
    Toast::showMessage ("One", "first", &page);
    juce::Component::SafePointer<Toast> first (onlyToastIn (page));
    Toast::showMessage ("Two", "second", &page);
    juce::Component::SafePointer<Toast> second (onlyToastIn (page));

    ASSERT_NE (first, second);
    EXPECT_TRUE (first->drawShadow);
    EXPECT_FALSE (second->drawShadow);

    // The shadow falls into the margin left of the box.
    EXPECT_GT (paintToImage (*first).getPixelAt (80, 160).getAlpha(), 10);
    EXPECT_EQ (paintToImage (*second).getPixelAt (80, 160).getAlpha(), 0);

    while (first != nullptr)
        first->timerCallback();

    Toast::showMessage ("Three", "third", &page);
    auto* third = onlyToastIn (page);
    EXPECT_TRUE (third->drawShadow);
    EXPECT_TRUE (second != nullptr && ! second->drawShadow);
}

TEST_F (ToastTest, DialogButtonsAndTheirBounds)
{
    Toast both ("Title", "Message", "Yes", "No");
    EXPECT_EQ (both.boxHeight, 170);
    EXPECT_FALSE (both.autoDismiss);
    ASSERT_NE (both.button1, nullptr);
    ASSERT_NE (both.button2, nullptr);
    EXPECT_EQ (both.button1->getBounds(), juce::Rectangle<int> (112, 220, 56, 24));
    EXPECT_EQ (both.button2->getBounds(), juce::Rectangle<int> (282, 220, 56, 24));
    EXPECT_TRUE (both.button1->filled);
    EXPECT_EQ (both.button1->fillColour.getARGB(), 0xff091c2au);
    EXPECT_EQ (both.button1->textOnFillColour.getARGB(), 0xffffffffu);
    EXPECT_EQ (both.getTimerInterval(), 0);

    Toast okOnly ("Error! (8)", "Invalid credentials", "OK", {});
    EXPECT_EQ (okOnly.button2, nullptr);
    EXPECT_EQ (okOnly.button1->getBounds(), juce::Rectangle<int> (182, 218, 86, 24));

    Toast secondOnly ("Title", "Message", {}, "DONE");
    EXPECT_EQ (secondOnly.button1, nullptr);
    EXPECT_EQ (secondOnly.button2->getBounds(), juce::Rectangle<int> (282, 220, 56, 24));

    // The six-argument form keeps the given size.
    Toast sized ("Title", "Message", {}, "DONE", 300, 200);
    EXPECT_EQ (sized.boxHeight, 200);
    EXPECT_EQ (sized.button2->getBounds(), juce::Rectangle<int> (312, 250, 56, 24));
}

TEST_F (ToastTest, DialogBackdropSwallowsClicksUntilAButtonAnswers)
{
    Page page;
    int result = 0;
    int pageClicks = 0;
    page.pageButton.onClick = [&] { ++pageClicks; };

    juce::Component::SafePointer<Toast> toast (Toast::showDialog ("Error! (401)", "Invalid credentials", "OK", {}, &page));
    ASSERT_NE (toast, nullptr);
    toast->onResult = [&] (int r) { result = r; };

    EXPECT_EQ (toast->backdrop.getBounds(), page.getLocalBounds());
    EXPECT_EQ (toast->backdrop.getParentComponent(), &page);
    EXPECT_EQ (toast->getBounds(), juce::Rectangle<int> (175, 125, 450, 350));
    EXPECT_EQ (page.getNumChildComponents(), 3);

    // Clicks away from the box land on the backdrop, not on the page.
    EXPECT_EQ (page.getComponentAt (10, 10), &toast->backdrop);
    EXPECT_EQ (page.getComponentAt (790, 590), &toast->backdrop);

    // Dialogs do not time out.
    EXPECT_FALSE (toast->isTimerRunning());

    const auto box = toast->getBounds().getPosition();
    EXPECT_EQ (page.getComponentAt (box + toast->button1->getBounds().getCentre()), toast->button1.get());

    toast->button1->triggerClick();
    ASSERT_TRUE (pumpUntil ([&] { return toast == nullptr; }));
    EXPECT_EQ (result, 1);
    EXPECT_EQ (page.getNumChildComponents(), 1);
    EXPECT_EQ (page.getComponentAt (10, 10), &page.pageButton);
    EXPECT_EQ (pageClicks, 0);
    EXPECT_FALSE (Toast::toastShowing);
}

TEST_F (ToastTest, TermsDialogPassesTheAcceptSwitch)
{
    for (bool accepted : { false, true })
    {
        Page page;
        int result = 0;
        juce::Component::SafePointer<Toast> toast (Toast::showTermsDialog (&page));
        ASSERT_NE (toast, nullptr);
        toast->onResult = [&] (int r) { result = r; };

        EXPECT_EQ (toast->button1, nullptr);
        ASSERT_NE (toast->button2, nullptr);
        EXPECT_EQ (toast->button2->text, "DONE");
        EXPECT_EQ (toast->boxWidth, 300);
        EXPECT_EQ (toast->boxHeight, 200);
        EXPECT_TRUE (toast->showTermsLink);
        EXPECT_EQ (toast->message, " " + WebPages::terms());
        ASSERT_NE (toast->acceptToggle, nullptr);
        EXPECT_EQ (toast->acceptToggle->getButtonText(), "Yes, I accept");
        EXPECT_EQ (toast->acceptToggle->getBounds(), juce::Rectangle<int> (123, 249, 150, 25));
        EXPECT_EQ (toast->getBounds(), juce::Rectangle<int> ((800 - 300) / 2 - 90, (600 - 200) / 2 - 90, 480, 380));

        if (accepted)
        {
            toast->acceptToggle->triggerClick();
            ASSERT_TRUE (pumpUntil ([&] { return toast->acceptToggle->getToggleState(); }));
        }

        toast->button2->triggerClick();
        ASSERT_TRUE (pumpUntil ([&] { return toast == nullptr; }));
        EXPECT_EQ (result, accepted ? 1 : 2);
    }
}

TEST_F (ToastTest, TermsLinkZoneHasExclusiveEdges)
{
    const struct { int x, y; bool inside; } cases[] = {
        { 137, 200, false }, { 138, 200, true }, { 337, 200, true }, { 338, 200, false },
        { 200, 194, false }, { 200, 195, true }, { 200, 214, true }, { 200, 215, false },
    };

    for (const auto& c : cases)
        EXPECT_EQ (Toast::isInTermsLink ({ c.x, c.y }), c.inside) << c.x << "," << c.y;

    std::vector<juce::String> opened;
    Browser::ScopedHandler browser ([&opened] (const juce::String& address) { opened.push_back (address); return true; });

    Page page;
    auto* toast = Toast::showTermsDialog (&page);
    toast->mouseDown (mouseEventAt (*toast, { 137, 200 }));
    EXPECT_TRUE (opened.empty());
    toast->mouseDown (mouseEventAt (*toast, { 138, 200 }));
    ASSERT_EQ (opened.size(), 1u);
    EXPECT_EQ (opened[0], WebPages::terms());

    // A toast without the link ignores the same press.
    Toast plain ("Title", "Message", "OK", {});
    plain.mouseDown (mouseEventAt (plain, { 200, 200 }));
    EXPECT_EQ (opened.size(), 1u);
}

TEST_F (ToastTest, EndsWithItsParentAndSurvivesACallbackThatDeletesIt)
{
    auto page = std::make_unique<Page>();
    juce::Component::SafePointer<Toast> dialog (Toast::showDialog ("Title", "Message", "OK", {}, page.get()));
    Toast::showMessage ("Title", "Message", page.get());
    juce::Component::SafePointer<Toast> message (onlyToastIn (*page));
    ASSERT_NE (dialog, nullptr);
    ASSERT_NE (message, nullptr);

    page.reset();
    EXPECT_EQ (dialog, nullptr);
    EXPECT_EQ (message, nullptr);
    EXPECT_FALSE (Toast::toastShowing);

    // The answer closes the page that shows the dialog.
    page = std::make_unique<Page>();
    dialog = Toast::showDialog ("Title", "Message", "OK", {}, page.get());
    dialog->onResult = [&page] (int) { page.reset(); };
    dialog->button1->triggerClick();
    ASSERT_TRUE (pumpUntil ([&] { return page == nullptr; }));
    EXPECT_EQ (dialog, nullptr);
}

TEST_F (ToastTest, FollowsItsParentsSize)
{
    Page page;
    juce::Component::SafePointer<Toast> toast (Toast::showDialog ("Title", "Message", "OK", {}, &page));
    page.setSize (1000, 700);
    EXPECT_EQ (toast->getBounds(), juce::Rectangle<int> (275, 175, 450, 350));
    EXPECT_EQ (toast->backdrop.getBounds(), juce::Rectangle<int> (0, 0, 1000, 700));

    EXPECT_EQ (Toast::showDialog ("Title", "Message", "OK", {}, nullptr), nullptr);
}
