#include "ui/views/SelectPluginsPopup.h"

#include "ui/look/AppFonts.h"

SelectPluginsPopup::SelectPluginsPopup()
{
    viewport.getVerticalScrollBar().setColour (juce::ScrollBar::thumbColourId, juce::Colour (0xff808080));
    viewport.setViewedComponent (&content, false);
    addAndMakeVisible (viewport);
}

SelectPluginsPopup::~SelectPluginsPopup()
{
    content.removeAllChildren();
    viewport.setViewedComponent (nullptr, false);
}

void SelectPluginsPopup::setRows (std::vector<ProductRow> newRows)
{
    rows = std::move (newRows);
}

juce::String SelectPluginsPopup::labelFor (const ProductRow& row)
{
    if (row.isExpansion())
        return row.title + " (" + row.parentTitle + ")";

    return row.title;
}

juce::Point<int> SelectPluginsPopup::tickBoxPosition (int index, int listWidth)
{
    const int x = index % 2 == 0 ? 25 : (int) ((double) (listWidth - 20) / 2.0);
    return { x, (index / 2) * lineHeight };
}

int SelectPluginsPopup::contentHeight (int rowCount)
{
    return (rowCount / 2) * lineHeight + 40;
}

void SelectPluginsPopup::rebuild()
{
    content.removeAllChildren();
    tickBoxes.clear();
    labels.clear();

    const int width = getWidth();

    for (size_t i = 0; i < rows.size(); ++i)
    {
        const auto position = tickBoxPosition ((int) i, width);

        auto tick = std::make_unique<juce::ToggleButton> (" ");
        tick->setClickingTogglesState (true);
        tick->setToggleState (true, juce::dontSendNotification);
        tick->setBounds (position.x, position.y, 25, 25);
        content.addAndMakeVisible (*tick);

        auto label = std::make_unique<juce::Label>();
        label->setFont (getAppFont (AppFontStyle::regular).withHeight (12.0f));
        label->setText (labelFor (rows[i]), juce::dontSendNotification);
        label->setColour (juce::Label::textColourId, juce::Colour (0xffe0e6ea));
        label->setBounds (position.x + 25, position.y, 180, 25);
        content.addAndMakeVisible (*label);

        tickBoxes.push_back (std::move (tick));
        labels.push_back (std::move (label));
    }

    content.setBounds (0, 0, width - 20, contentHeight ((int) rows.size()));
}

std::vector<ProductRow> SelectPluginsPopup::tickedRows() const
{
    std::vector<ProductRow> ticked;

    for (size_t i = 0; i < rows.size() && i < tickBoxes.size(); ++i)
        if (tickBoxes[i]->getToggleState())
            ticked.push_back (rows[i]);

    return ticked;
}

void SelectPluginsPopup::paint (juce::Graphics& g)
{
    g.setColour (juce::Colour (backgroundColour));
    g.fillRect (0, 0, getWidth(), getHeight());
}

void SelectPluginsPopup::resized()
{
    viewport.setBounds (5, 0, getWidth() - 10, getHeight());
}
