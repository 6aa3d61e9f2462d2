#pragma once

#include <juce_graphics/juce_graphics.h>

#include <vector>

/** The arithmetic of the release-notes panel, kept apart from the component
    so it is checked without a window: how the notes' light heading syntax
    turns into runs of text at their font heights, and where the panel goes. */
namespace ReleaseNotesLayout
{
    inline constexpr int panelWidth = 300;
    inline constexpr int panelHeight = 348;

    inline constexpr float bodyHeight = 13.0f;

    /** A stretch of the notes shown at one font height. */
    struct Run
    {
        juce::String text;
        float height = bodyHeight;

        bool operator== (const Run& other) const { return text == other.text && height == other.height; }
    };

    /** The font height that one to three "#" give a heading (22, 19, 16);
        0 for any other count, which leaves the height as it was. */
    float headingHeight (int level);

    /** The notes as the panel shows them, in order, neighbours of one height
        joined: a blank first line, then each "#", "##" or "###" makes the
        text after it up to the end of its line a heading; everything else is
        at 13. The "#" characters themselves are not shown, and one in the
        middle of a line starts a heading there too. */
    std::vector<Run> runsFor (const juce::String& notes);

    /** The panel's bounds on the page for a right click at clickInList (the
        cell's place in the list's content plus the click in the cell), with
        the list scrolled down by scrollY: centred on the click, kept 15
        pixels from the page's sides and 65 from its top and bottom. */
    juce::Rectangle<int> panelBounds (juce::Point<int> clickInList, int scrollY, int pageWidth, int pageHeight);
}
