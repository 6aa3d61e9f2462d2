#include "ui/pages/VRPage.h"

#include <cmath>

//==============================================================================
juce::uint8 VRPage::Spinner::spokeAlpha (int spoke, juce::uint32 milliseconds, juce::uint8 colourAlpha)
{
    const auto k = (int) (12 - (milliseconds / 100) % 12);
    const auto step = ((spoke + k) % 12) + 1;
    const auto alpha = std::lround ((double) colourAlpha * step / 12.0);
    return (juce::uint8) juce::jmin (255L, alpha);
}

void VRPage::Spinner::paintAt (juce::Graphics& g, juce::uint32 milliseconds)
{
    const auto s = (float) juce::jmin (getWidth(), getHeight()) * 0.4f;
    const auto d = s * 0.15f;

    juce::Path spoke;
    spoke.addRoundedRectangle (0.4f * s, -d / 2.0f, 0.6f * s, d, d / 2.0f);

    const auto centre = getLocalBounds().toFloat().getCentre();

    for (int i = 0; i < 12; ++i)
    {
        g.setColour (colour.withAlpha (spokeAlpha (i, milliseconds, colour.getAlpha())));
        g.fillPath (spoke, juce::AffineTransform::rotation ((float) i * 0.5235988f)
                               .translated (centre.x, centre.y));
    }
}

void VRPage::Spinner::paint (juce::Graphics& g)
{
    if (isTimerRunning())
        paintAt (g, juce::Time::getMillisecondCounter());
}

void VRPage::Spinner::timerCallback()
{
    repaint();
}

//==============================================================================
VRPage::VisibilityTimer::VisibilityTimer (std::function<void()> callbackToRun)
    : callback (std::move (callbackToRun))
{
}

void VRPage::VisibilityTimer::timerCallback()
{
    if (callback)
        callback();
}

//==============================================================================
VRPage::VRPage()
{
    spinner.setInterceptsMouseClicks (true, true);
    addAndMakeVisible (header);
}

VRPage::~VRPage()
{
    spinner.stopTimer();
}

void VRPage::pageShown()
{
}

void VRPage::showSpinner (bool show)
{
    if (show)
    {
        spinner.setVisible (true);
        addChildComponent (spinner, -1);
        spinner.startTimer (16);
        return;
    }

    spinner.stopTimer();
    removeChildComponent (getIndexOfChildComponent (&spinner));
}

void VRPage::resized()
{
    const auto x = (int) ((float) (getWidth() - 100) * 0.5f);
    const auto y = (int) ((float) (getHeight() - 100) * 0.5f);
    spinner.setBounds (x, y, 100, 100);
    header.setBounds (100, 0, getWidth() - 100, 54);
}
