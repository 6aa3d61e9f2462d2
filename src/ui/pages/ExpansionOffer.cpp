#include "ui/pages/ExpansionOffer.h"

#include <cstdio>

namespace ExpansionOffer
{
    Offer find (const std::vector<Candidate>& cells)
    {
        Offer offer;

        for (size_t a = 0; a < cells.size(); ++a)
        {
            const auto& plugin = cells[a];

            if (! plugin.selected || ! plugin.hasDelegate || plugin.busy || plugin.isExpansion)
                continue;

            for (size_t x = 0; x < cells.size(); ++x)
            {
                const auto& expansion = cells[x];

                if (! expansion.isExpansion || expansion.selected || expansion.busy
                    || expansion.parentName != plugin.name || expansion.allFilesInstalled)
                    continue;

                std::printf ("wanna install expansion %s\n", expansion.title.toRawUTF8());
                std::fflush (stdout);

                if (offer.plugins.empty() || offer.plugins.back() != a)
                    offer.plugins.push_back (a);

                offer.expansions.push_back (x);
            }
        }

        return offer;
    }

    juce::String title (size_t expansionCount, size_t pluginCount)
    {
        return juce::String ("Also install ")
             + (expansionCount == 1 ? juce::String ("expansion for ")
                                    : juce::String ((juce::int64) expansionCount) + " expansions for ")
             + (pluginCount == 1 ? "this plugin?" : "these plugins?");
    }

    juce::String message (const juce::StringArray& pluginTitles)
    {
        juce::String text;

        for (int i = 0; i < juce::jmin (2, pluginTitles.size()); ++i)
            text << pluginTitles[i] << "\n";

        if (pluginTitles.size() > 2)
            text << "etc.";

        return text;
    }
}
