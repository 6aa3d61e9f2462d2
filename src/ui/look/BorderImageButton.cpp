#include "ui/look/BorderImageButton.h"

juce::Rectangle<float> borderImageButton::imageArea (juce::Rectangle<int> buttonBounds, const juce::Image& img)
{
    const auto iw = (float) img.getWidth() / 2.0f;
    const auto ih = (float) img.getHeight() / 2.0f;
    return { ((float) buttonBounds.getWidth() - iw) / 2.0f, ((float) buttonBounds.getHeight() - ih) / 2.0f, iw, ih };
}

void borderImageButton::mouseEnter (const juce::MouseEvent&)
{
    isOver = true;
    repaint();
}

void borderImageButton::mouseExit (const juce::MouseEvent&)
{
    isOver = false;
    repaint();
}

void borderImageButton::paint (juce::Graphics& g)
{
    g.setColour (juce::Colour (0xff889299));
    g.fillRoundedRectangle (getLocalBounds().toFloat(), 5.0f);

    if (! image.isValid())
        return;

    g.setOpacity (isOver ? 0.4f : 1.0f);
    g.drawImage (image, imageArea (getLocalBounds(), image), juce::RectanglePlacement::stretchToFit);
}
