#pragma once

#include <juce_core/juce_core.h>

#include <vector>

/** Before installing selected plugins, the page offers the expansions of
    those plugins that are not installed yet. */
namespace ExpansionOffer
{
    /** What the offer needs to know of one cell, in list order. */
    struct Candidate
    {
        bool selected = false, busy = false, hasDelegate = true, isExpansion = false;
        juce::String name, parentName, title;
        bool allFilesInstalled = false;   // for an expansion, checked just now
    };

    /** Indices into the candidates: the selected plugins that have missing
        expansions, and those expansions (unselected and idle). */
    struct Offer
    {
        std::vector<size_t> plugins, expansions;
    };

    Offer find (const std::vector<Candidate>& cells);

    /** "Also install expansion for this plugin?", "Also install 2 expansions for these plugins?"... */
    juce::String title (size_t expansionCount, size_t pluginCount);

    /** The first two plugin titles, a line each, then "etc." when there are more. */
    juce::String message (const juce::StringArray& pluginTitles);
}
