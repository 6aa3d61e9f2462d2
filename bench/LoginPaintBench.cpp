// Paint cost of the login page: renders the whole page (fields, buttons,
// word mark, attributed text) into an 820 x 600 image, as often as asked
// (default 1000), and reports the time per frame.

#include "ui/pages/LoginPage.h"

#include <iostream>

int main (int argc, char** argv)
{
    const int frames = argc > 1 ? juce::jmax (1, juce::String (argv[1]).getIntValue()) : 1000;

    juce::ScopedJuceInitialiser_GUI juce;

    LoginPage page ("you@example.com", false, "https://test.vamrelund.com");
    page.setSize (820, 600);
    page.passwordField.setText ("secret", false);

    juce::Image image (juce::Image::ARGB, 820, 600, true);

    const auto paintOnce = [&]
    {
        juce::Graphics g (image);
        g.fillAll (juce::Colour (0xfff1f3f5));
        page.paintEntireComponent (g, true);
    };

    // First frames decode the word mark and load the typefaces.
    for (int i = 0; i < 10; ++i)
        paintOnce();

    const auto start = juce::Time::getHighResolutionTicks();

    for (int i = 0; i < frames; ++i)
        paintOnce();

    const auto seconds = juce::Time::highResolutionTicksToSeconds (juce::Time::getHighResolutionTicks() - start);

    std::cout << "login page paint, 820 x 600: " << frames << " frames in "
              << juce::String (seconds * 1000.0, 1) << " ms, "
              << juce::String (seconds * 1.0e6 / frames, 1) << " us per frame" << std::endl;
    return 0;
}
