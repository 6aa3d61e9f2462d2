#include "ui/pages/AttrLabel.h"

#include "ui/look/AppFonts.h"

AttrLabel::AttrLabel()
{
    setInterceptsMouseClicks (false, false);
}

void AttrLabel::setTexts (const juce::String& newTitle, const juce::String& newSubtitle, juce::Colour colour)
{
    titleText = newTitle;
    subtitleText = newSubtitle;

    const auto titleFont = appFont (AppFontStyle::semiBold, 19.5f);
    title = {};
    title.append (newTitle, titleFont, colour);
    title.setJustification (juce::Justification::bottomLeft);

    subtitle = {};
    subtitle.append (" " + newSubtitle, appFont (AppFontStyle::light, 14.5f), juce::Colour (0xffe0e6ea));
    subtitle.setJustification (juce::Justification::bottomLeft);

    titleWidth = juce::roundToInt (titleFont.getStringWidthFloat (newTitle));
    repaint();
}

void AttrLabel::paint (juce::Graphics& g)
{
    title.draw (g, getLocalBounds().toFloat());
    subtitle.draw (g, juce::Rectangle<int> (titleWidth, -1, getWidth(), getHeight()).toFloat());
}
