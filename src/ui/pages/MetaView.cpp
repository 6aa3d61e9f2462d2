#include "ui/pages/MetaView.h"

#include "localstate/FilePresence.h"
#include "localstate/RowRules.h"
#include "ui/look/AppFonts.h"
#include "ui/pages/ProductCell.h"

MetaView::MetaView (const ProductCell& owner)
    : cell (owner)
{
    setInterceptsMouseClicks (false, false);
}

void MetaView::paint (juce::Graphics& g)
{
    g.setFont (appFont (AppFontStyle::regular, 10.0f));
    int i = 0;

    for (const auto& target : cell.metaTargets)
    {
        if (target.format == PluginFormats::resources)
            continue;

        const auto y = (float) (12 * i);
        juce::Colour dot (0xff141414);

        if (ProductListRules::showsFileDots (cell.placedCode))
            dot = juce::Colour (isPresent (target.file) ? 0xff66a660 : 0xffddbf1f);

        g.setColour (dot);
        g.fillEllipse (45.0f, y + 2.0f, 6.0f, 6.0f);

        g.setColour (juce::Colour (0xff142734));
        g.drawText (formatLabel (target.format), juce::Rectangle<float> (0.0f, y, 40.0f, 9.0f),
                    juce::Justification::topRight, true);
        ++i;
    }
}
