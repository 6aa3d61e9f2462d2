#include "ui/look/Header.h"

#include "ui/look/AppResources.h"

void Header::roundImageButton::paint (juce::Graphics& g)
{
    g.setColour (juce::Colour (0xff091c2a));
    g.fillRoundedRectangle (getLocalBounds().toFloat(), 4.0f);

    if (! image.isValid())
        return;

    g.setOpacity (isOver ? 0.7f : 1.0f);
    g.drawImage (image, { 4.0f, 4.0f, 16.0f, 16.0f }, juce::RectanglePlacement::stretchToFit);
}

Header::Header()
{
    button.image = AppResources::image ("settings_icon.png");
    addAndMakeVisible (button);
    button.setWantsKeyboardFocus (false);
    button.setMouseClickGrabsKeyboardFocus (false);

    button.onClick = [this]
    {
        if (onSettings)
            onSettings (&button);
    };
}

void Header::resized()
{
    button.setBounds (getWidth() - 36, 11, 24, 24);
}
