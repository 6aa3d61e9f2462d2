#include "ui/pages/ExpansionOffer.h"

#include <gtest/gtest.h>

namespace
{
    ExpansionOffer::Candidate plugin (const char* name, bool selected = true)
    {
        ExpansionOffer::Candidate c;
        c.name = name;
        c.title = juce::String (name).toUpperCase();
        c.selected = selected;
        return c;
    }

    ExpansionOffer::Candidate expansion (const char* name, const char* parent, bool installed = false)
    {
        ExpansionOffer::Candidate c;
        c.isExpansion = true;
        c.name = name;
        c.title = name;
        c.parentName = parent;
        c.allFilesInstalled = installed;
        return c;
    }
}

TEST (ExpansionOffer, FindsTheMissingExpansionsOfSelectedIdlePluginsOnly)
{
    auto busyPlugin = plugin ("busy");
    busyPlugin.busy = true;
    auto noDelegate = plugin ("orphan");
    noDelegate.hasDelegate = false;
    auto selectedExpansion = expansion ("chosen", "synth");
    selectedExpansion.selected = true;
    auto busyExpansion = expansion ("running", "synth");
    busyExpansion.busy = true;

    const std::vector<ExpansionOffer::Candidate> cells {
        plugin ("synth"),                       // 0
        expansion ("pads", "synth"),            // 1 missing: offered
        expansion ("keys", "synth", true),      // 2 installed
        selectedExpansion,                      // 3 installs anyway
        busyExpansion,                          // 4
        expansion ("Pads2", "Synth"),           // 5 another parent (names are exact)
        plugin ("unselected", false),           // 6
        expansion ("lonely", "unselected"),     // 7
        busyPlugin,                             // 8
        expansion ("b1", "busy"),               // 9
        noDelegate,                             // 10
        expansion ("o1", "orphan"),             // 11
        plugin ("drum"),                        // 12
        expansion ("kit1", "drum"),             // 13
        expansion ("kit2", "drum"),             // 14
    };

    const auto offer = ExpansionOffer::find (cells);
    EXPECT_EQ (offer.plugins, (std::vector<size_t> { 0, 12 }));
    EXPECT_EQ (offer.expansions, (std::vector<size_t> { 1, 13, 14 }));

    EXPECT_TRUE (ExpansionOffer::find ({ plugin ("synth"), expansion ("keys", "synth", true) }).plugins.empty());
}

TEST (ExpansionOffer, TitleAndMessageTexts)
{
    EXPECT_EQ (ExpansionOffer::title (1, 1), "Also install expansion for this plugin?");
    EXPECT_EQ (ExpansionOffer::title (2, 1), "Also install 2 expansions for this plugin?");
    EXPECT_EQ (ExpansionOffer::title (1, 2), "Also install expansion for these plugins?");
    EXPECT_EQ (ExpansionOffer::title (12, 3), "Also install 12 expansions for these plugins?");

    EXPECT_EQ (ExpansionOffer::message ({ "My Synth" }), "My Synth\n");
    EXPECT_EQ (ExpansionOffer::message ({ "A", "B" }), "A\nB\n");
    EXPECT_EQ (ExpansionOffer::message ({ "A", "B", "C" }), "A\nB\netc.");
}
