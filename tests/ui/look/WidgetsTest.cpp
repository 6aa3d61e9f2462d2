#include "support/ComponentTesting.h"
#include "support/TestEnvironment.h"
#include "ui/look/AnimatedLabel.h"
#include "ui/look/AppFonts.h"
#include "ui/look/AppResources.h"
#include "ui/look/BorderImageButton.h"
#include "ui/look/Header.h"
#include "ui/look/MyTextToggleButton.h"
#include "ui/look/MyToggleButton.h"

#include <gtest/gtest.h>

namespace
{
    const juce::Rectangle<int> insideOutline { 4, 4, 72, 16 };
}

TEST (MyToggleButton, FilledAndOutlineLooks)
{
    MyToggleButton button ("Install");
    button.setBounds (0, 0, 80, 24);

    // Outline: a 1-pixel line inset by one pixel, nothing in between.
    auto image = paintToImage (button);
    EXPECT_TRUE (coloursClose (image.getPixelAt (1, 12).withAlpha ((juce::uint8) 255), juce::Colour (0xffe0e6ea)));
    EXPECT_GT (image.getPixelAt (1, 12).getAlpha(), 100);
    EXPECT_EQ (image.getPixelAt (40, 3).getAlpha(), 0);
    EXPECT_EQ (button.font.getTypefacePtr(), getAppFont (2).getTypefacePtr());

    button.makeFilled ("Stop", juce::Colour (0xffd7e0e5), juce::Colour (0xff1c2a34));
    EXPECT_TRUE (button.filled);
    EXPECT_EQ (button.text, "Stop");
    EXPECT_EQ (button.font.getTypefacePtr(), getAppFont (0).getTypefacePtr());

    image = paintToImage (button);
    EXPECT_EQ (image.getPixelAt (40, 2).getARGB(), 0xffd7e0e5u);
    EXPECT_EQ (image.getPixelAt (5, 20).getARGB(), 0xffd7e0e5u);
    // The text is drawn in the dark colour on the plate.
    EXPECT_GT (countPixels (image, insideOutline, [] (juce::Colour c) { return coloursClose (c, juce::Colour (0xff1c2a34), 30); }), 5);
}

TEST (MyToggleButton, AlphaAndHoverFollowTheState)
{
    juce::Component parent;
    MyToggleButton button ("Not Updated");
    parent.addAndMakeVisible (button);
    button.setBounds (0, 0, 80, 24);

    const auto textAlpha = [&button] { return maximumAlpha (paintToImage (button), insideOutline); };

    EXPECT_FLOAT_EQ (button.alphaForState(), 1.0f);
    EXPECT_EQ (textAlpha(), 255);

    button.isOver = true;
    EXPECT_NEAR (textAlpha(), 178, 2);

    button.isDown = true;
    paintToImage (button);
    EXPECT_NEAR (button.getAlpha(), 0.7f, 0.01f);

    // Disabled through its parent: dimmed, and hover no longer fades the text.
    button.isDown = false;
    parent.setEnabled (false);
    EXPECT_EQ (textAlpha(), 255);
    EXPECT_NEAR (button.getAlpha(), 0.4f, 0.01f);
}

TEST (MyTextToggleButton, PlateAndTextColours)
{
    MyTextToggleButton tab ("Plug-ins");
    tab.setBounds (0, 0, 86, 24);

    const struct { bool selected, over, down; juce::uint32 plate, text; } cases[] = {
        { false, false, false, 0xff192b38, 0xff89939a },
        { true, false, false, 0xff091c2a, 0xffffffff },
        { true, true, false, 0xff091c2a, 0xcfffffff },
        { false, true, true, 0xb2192b38, 0xcfffffff },
    };

    for (const auto& c : cases)
    {
        tab.selected = c.selected;
        tab.isOver = c.over;
        tab.isDown = c.down;
        EXPECT_EQ (tab.plateColour().getARGB(), c.plate);
        EXPECT_EQ (tab.textColourForState().getARGB(), c.text);
        EXPECT_TRUE (coloursClose (paintToImage (tab).getPixelAt (43, 2), juce::Colour (c.plate)));
    }

    tab.setEnabled (false);
    tab.isOver = true;
    tab.selected = false;
    EXPECT_EQ (tab.textColourForState().getARGB(), 0xff89939au);
}

TEST (BorderImageButton, PlateWithTheImageAtHalfSizeInTheMiddle)
{
    borderImageButton button;
    button.setBounds (0, 0, 25, 25);

    // No image: only the plate.
    auto image = paintToImage (button);
    EXPECT_EQ (image.getPixelAt (12, 12).getARGB(), 0xff889299u);
    EXPECT_LT (image.getPixelAt (0, 0).getAlpha(), 255);

    button.image = AppResources::image ("btn_reload@x2.png");
    EXPECT_EQ (borderImageButton::imageArea (button.getLocalBounds(), button.image),
               juce::Rectangle<float> (3.5f, 5.0f, 18.0f, 15.0f));

    const auto whiteInIcon = [] (const juce::Image& img)
    {
        return countPixels (img, { 3, 5, 18, 15 }, [] (juce::Colour c) { return c.getBrightness() > 0.85f; });
    };

    image = paintToImage (button);
    EXPECT_GT (whiteInIcon (image), 10);
    EXPECT_EQ (countPixels (image, { 0, 0, 25, 4 }, [] (juce::Colour c) { return c.getBrightness() > 0.85f; }), 0);

    // Hovering fades the icon into the plate.
    button.isOver = true;
    EXPECT_EQ (whiteInIcon (paintToImage (button)), 0);
}

TEST (Header, RoundButtonAtTheRightEndCallsOnSettings)
{
    Header header;
    header.setBounds (100, 0, 600, 54);
    EXPECT_EQ (header.button.getBounds(), juce::Rectangle<int> (564, 11, 24, 24));
    EXPECT_FALSE (header.button.getWantsKeyboardFocus());
    EXPECT_TRUE (header.button.isVisible());

    // Dark plate, white gear: a tooth points right, the hole is in the middle.
    const auto image = paintToImage (header.button);
    EXPECT_EQ (image.getPixelAt (2, 12).getARGB(), 0xff091c2au);
    EXPECT_GT (image.getPixelAt (18, 12).getBrightness(), 0.7f);
    EXPECT_LT (image.getPixelAt (12, 12).getBrightness(), 0.3f);

    juce::Component* received = nullptr;
    int calls = 0;
    header.onSettings = [&] (juce::Component* c) { received = c; ++calls; };
    header.button.triggerClick();
    EXPECT_TRUE (pumpUntil ([&] { return calls == 1; }));
    EXPECT_EQ (received, &header.button);

    // No callback: the click does nothing.
    header.onSettings = nullptr;
    header.button.triggerClick();
    pumpUntil ([] { return false; }, 50);
    EXPECT_EQ (calls, 1);
}

TEST (AnimatedLabel, TextAndDots)
{
    const struct { int count, dots; const char* text; } cases[] = {
        { 1, 3, "Installing product..." },
        { 3, 0, "Installing 3 products" },
        { 0, 1, "Installing 0 products." },
        { 2, 2, "Installing 2 products.." },
    };

    for (const auto& c : cases)
        EXPECT_EQ (AnimatedLabel::activityText (c.count, c.dots), c.text);

    AnimatedLabel label;
    label.activeCount = 1;

    const char* expected[] = { "Installing product.", "Installing product..", "Installing product...", "Installing product" };

    for (auto* text : expected)
    {
        label.timerCallback();
        EXPECT_EQ (label.getText(), text);
    }

    EXPECT_EQ (label.dots, 0);
}
