#include "ui/look/MyToggleButton.h"

#include "ui/look/AppFonts.h"

MyToggleButton::MyToggleButton()
    : font (getAppFont (AppFontStyle::light))
{
}

MyToggleButton::MyToggleButton (const juce::String& buttonText)
    : text (buttonText),
      font (getAppFont (AppFontStyle::light))
{
}

void MyToggleButton::makeFilled (const juce::String& newText, juce::Colour fill, juce::Colour textColourOnFill)
{
    text = newText;
    fillColour = fill;
    textOnFillColour = textColourOnFill;
    font = getAppFont (AppFontStyle::regular);
    filled = true;
    repaint();
}

float MyToggleButton::alphaForState() const
{
    if (! isEnabled())
        return 0.4f;

    return isDown ? 0.7f : 1.0f;
}

void MyToggleButton::paint (juce::Graphics& g)
{
    setAlpha (alphaForState());

    const auto w = (float) getWidth();
    const auto h = (float) getHeight();

    g.setColour (fillColour);

    if (filled)
        g.fillRoundedRectangle (0.0f, 0.0f, w, h, cornerSize);
    else
        g.drawRoundedRectangle (1.0f, 1.0f, w - 2.0f, h - 2.0f, cornerSize, 1.0f);

    g.setFont (font.withHeight (14.0f));
    g.setColour (filled ? textOnFillColour : textColour);
    g.setOpacity (isOver && isEnabled() ? 0.7f : 1.0f);
    g.drawText (text, getLocalBounds(), juce::Justification::centred, true);
}
