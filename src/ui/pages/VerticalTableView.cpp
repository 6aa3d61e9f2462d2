#include "ui/pages/VerticalTableView.h"

VerticalTableView::VerticalTableView()
{
    using namespace ProductListRules;

    content.delegate = this;
    setViewedComponent (&content, false);
    setScrollBarsShown (true, false);
    getVerticalScrollBar().setColour (juce::ScrollBar::thumbColourId, juce::Colour (0xffe0e6ea));

    for (auto code : { installing, notInstalled, updateAvailable, installed })
    {
        auto header = std::make_unique<AttrLabel>();
        content.addChildComponent (*header);
        headers[code] = std::move (header);
    }
}

AttrLabel* VerticalTableView::headerFor (int code)
{
    const auto found = headers.find (code);
    return found != headers.end() && found->second->isVisible() ? found->second.get() : nullptr;
}

void VerticalTableView::resized()
{
    juce::Viewport::resized();
    rebuildList();
}

void VerticalTableView::rebuildList()
{
    using namespace ProductListRules;

    pluginCounts = { { installing, 0 }, { notInstalled, 0 }, { updateAvailable, 0 }, { installed, 0 } };
    expansionCounts = { { notInstalled, 0 }, { installed, 0 } };

    for (auto* cell : cells)
    {
        cell->setVisible (false);
        cell->status = none;
        cell->status = stateCode (cell->row, cell->busy.load(), cell->allFilesInstalled);

        if (cell->kind == expansion)
            expansionCounts[cell->status] += 1;
        else
            pluginCounts[cell->status] += 1;
    }

    for (auto& entry : headers)
        entry.second->setVisible (false);

    contentHeight = 16;
    const auto columns = columnsForWidth (getWidth());

    if (mode == 0)
    {
        for (auto code : { installing, notInstalled, updateAvailable, installed })
            if (pluginCounts[code] > 0)
                layOutGroup (code, groupText (0, code, pluginCounts[code]), columns);
    }
    else
    {
        for (auto code : { notInstalled, installed })
            if (expansionCounts[code] > 0)
                layOutGroup (code, groupText (1, code, expansionCounts[code]), columns);
    }

    content.setBounds (0, 0, getWidth() - getScrollBarThickness() - 2, contentHeight);

    if (onRebuilt)
        onRebuilt();
}

void VerticalTableView::layOutGroup (ProductListRules::StateCode code, const ProductListRules::GroupText& text, int columns)
{
    using ProductListRules::expansion;

    column = 0;

    auto& header = *headers[code];
    header.setTexts (text.title, text.subtitle, text.colour);
    header.setVisible (true);
    header.setBounds (25, contentHeight, 450, 20);
    contentHeight += 37;

    for (auto* cell : cells)
    {
        const bool inGroup = mode == 0 ? (cell->kind != expansion && cell->status == code)
                                       : (cell->kind == expansion && cell->status == code);

        if (! inGroup)
            continue;

        if (column >= columns)
        {
            contentHeight += rowGap + cellHeight;
            column = 0;
        }

        cell->setBounds (ProductListRules::cellBounds (column, contentHeight));
        cell->setVisible (true);
        column += 1;

        if (cell->kind != expansion)
        {
            cell->placedCode = code;
            cell->repaint();
        }
    }

    contentHeight += rowGap + cellHeight + 23;
}

void VerticalTableView::filterChosen (int groupId)
{
    if (auto* header = headerFor (groupId))
        setViewPosition (getViewPositionX(), header->getY() - 20);
}

void VerticalTableView::contentClicked()
{
    if (onContentClicked)
        onContentClicked();
}
