#include "ui/pages/FilterHeader.h"

#include "ui/look/AppFonts.h"

FilterHeader::FilterHeader()
{
    title.setFont (appFont (AppFontStyle::semiBold, 20.0f));
    title.setColour (juce::Label::textColourId, juce::Colour (0xffe0e6ea));
    title.setJustificationType (juce::Justification::centredLeft);
    title.setInterceptsMouseClicks (false, false);
    title.setBounds (7, 7, 450, 30);
    title.setText ("My Plug-ins", juce::dontSendNotification);
    addAndMakeVisible (title);

    for (auto [button, groupId] : buttons())
    {
        addChildComponent (*button);
        button->onClick = [this, id = groupId]
        {
            if (delegate != nullptr)
                delegate->filterChosen (id);
        };
    }
}

void FilterHeader::setMode (int newMode)
{
    mode = newMode;
    title.setText (mode == 0 ? "My Plug-ins" : "Available expansions", juce::dontSendNotification);
    repaint();
}

void FilterHeader::resized()
{
    lineEnd = (float) (getWidth() - 12);
    auto x = getWidth() - 94;
    const auto all = buttons();

    for (auto it = all.rbegin(); it != all.rend(); ++it)
    {
        if (! it->first->isVisible())
            continue;

        it->first->setBounds (x, 16, 80, 14);
        lineEnd = (float) (x - 7);
        x -= 87;
    }
}

void FilterHeader::paint (juce::Graphics& g)
{
    if (lineEnd <= 0.0f)
        return;

    g.setColour (juce::Colour (0xffaab3ba));
    const auto start = mode == 0 ? 116.0f : 186.0f;
    g.drawLine (start, 23.0f, lineEnd, 23.0f, 1.0f);
}
