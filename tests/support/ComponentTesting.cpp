#include "support/ComponentTesting.h"
#include "support/TestEnvironment.h"

juce::MouseEvent mouseEventAt (juce::Component& component, juce::Point<int> position, juce::ModifierKeys buttons)
{
    const auto now = juce::Time::getCurrentTime();
    const auto p = position.toFloat();

    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), p,
                             buttons,
                             juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
                             juce::MouseInputSource::defaultRotation, juce::MouseInputSource::defaultTiltX,
                             juce::MouseInputSource::defaultTiltY, &component, &component, now, p, now, 1, false);
}

juce::Image paintToImage (juce::Component& component, bool ignoreAlpha)
{
    juce::Image image (juce::Image::ARGB, juce::jmax (1, component.getWidth()), juce::jmax (1, component.getHeight()), true);
    juce::Graphics g (image);
    component.paintEntireComponent (g, ignoreAlpha);
    return image;
}

juce::Image paintOnBackground (juce::Component& component, juce::Colour background)
{
    juce::Image image (juce::Image::ARGB, juce::jmax (1, component.getWidth()), juce::jmax (1, component.getHeight()), true);
    juce::Graphics g (image);
    g.fillAll (background);
    component.paintEntireComponent (g, true);
    return image;
}

bool coloursClose (juce::Colour a, juce::Colour b, int tolerance)
{
    return std::abs ((int) a.getAlpha() - (int) b.getAlpha()) <= tolerance
        && std::abs ((int) a.getRed() - (int) b.getRed()) <= tolerance
        && std::abs ((int) a.getGreen() - (int) b.getGreen()) <= tolerance
        && std::abs ((int) a.getBlue() - (int) b.getBlue()) <= tolerance;
}

int maximumAlpha (const juce::Image& image, juce::Rectangle<int> area)
{
    int best = 0;

    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            best = juce::jmax (best, (int) image.getPixelAt (x, y).getAlpha());

    return best;
}

int countPixels (const juce::Image& image, juce::Rectangle<int> area, std::function<bool (juce::Colour)> predicate)
{
    int count = 0;

    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (predicate (image.getPixelAt (x, y)))
                ++count;

    return count;
}

juce::File saveScreenshot (const juce::Image& image, const juce::String& name)
{
    const auto folder = juce::File::getSpecialLocation (juce::File::currentExecutableFile)
                            .getParentDirectory().getChildFile ("screenshots");
    folder.createDirectory();
    const auto file = folder.getChildFile (name + ".png");
    file.deleteFile();

    if (juce::FileOutputStream out (file); out.openedOk())
        juce::PNGImageFormat().writeImageToStream (image, out);

    return file;
}

void clickNow (juce::Button& button)
{
    button.triggerClick();
    runPostedMessages();
}
