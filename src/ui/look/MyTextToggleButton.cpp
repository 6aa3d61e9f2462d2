#include "ui/look/MyTextToggleButton.h"

#include "ui/look/AppFonts.h"

MyTextToggleButton::MyTextToggleButton (const juce::String& buttonText)
    : PressTracking<juce::TextButton> (buttonText),
      text (buttonText)
{
}

juce::Colour MyTextToggleButton::plateColour() const
{
    if (isDown)
        return juce::Colour (0xb2192b38);

    return juce::Colour (selected ? 0xff091c2a : 0xff192b38);
}

juce::Colour MyTextToggleButton::textColourForState() const
{
    if (isOver && isEnabled())
        return juce::Colour (0xcfffffff);

    return juce::Colour (selected ? 0xffffffff : 0xff89939a);
}

void MyTextToggleButton::paint (juce::Graphics& g)
{
    g.setColour (plateColour());
    g.fillRoundedRectangle (getLocalBounds().toFloat(), 4.0f);

    g.setFont (appFont (AppFontStyle::light, 14.0f));
    g.setColour (textColourForState());
    g.drawText (text, getLocalBounds(), juce::Justification::centred, true);
}
