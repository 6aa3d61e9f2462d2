#include "ui/pages/FilterHeaderButton.h"

#include "ui/look/AppFonts.h"

FilterHeaderButton::FilterHeaderButton (const juce::String& buttonText, juce::Colour normal, juce::Colour hover)
    : PressTracking<juce::TextButton> (buttonText), text (buttonText), normalColour (normal), hoverColour (hover),
      downColour (normal.withAlpha ((juce::uint8) 0xb3))
{
}

juce::Colour FilterHeaderButton::plateColour() const
{
    return isDown ? downColour : (isOver ? hoverColour : normalColour);
}

void FilterHeaderButton::paint (juce::Graphics& g)
{
    g.setColour (plateColour());
    g.fillRoundedRectangle (getLocalBounds().toFloat(), 2.0f);
    g.setColour (juce::Colour (0xff000000));
    g.setFont (appFont (AppFontStyle::regular, 10.0f));
    g.drawText (text, getLocalBounds(), juce::Justification::centred, true);
}
