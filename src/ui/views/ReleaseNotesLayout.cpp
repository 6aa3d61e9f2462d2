#include "ui/views/ReleaseNotesLayout.h"

namespace ReleaseNotesLayout
{
    namespace
    {
        void add (std::vector<Run>& runs, const juce::String& text, float height)
        {
            if (text.isEmpty())
                return;

            if (! runs.empty() && runs.back().height == height)
                runs.back().text += text;
            else
                runs.push_back ({ text, height });
        }
    }

    float headingHeight (int level)
    {
        return level >= 1 && level <= 3 ? 25.0f - 3.0f * (float) level : 0.0f;
    }

    std::vector<Run> runsFor (const juce::String& notes)
    {
        std::vector<Run> runs;
        add (runs, " \n", bodyHeight);

        auto remaining = notes;
        auto height = bodyHeight;

        while (remaining.isNotEmpty())
        {
            const auto part = remaining.upToFirstOccurrenceOf ("#", false, false);

            if (part.isNotEmpty())
            {
                // A heading lasts to the end of its line.
                add (runs, part.upToFirstOccurrenceOf ("\n", false, false), height);
                height = bodyHeight;
                add (runs, part.fromFirstOccurrenceOf ("\n", true, false), height);
            }

            if (! remaining.containsChar ('#'))
                break;

            remaining = remaining.fromFirstOccurrenceOf ("#", true, false);

            int level = 0;

            while (remaining.startsWithChar ('#'))
            {
                ++level;
                remaining = remaining.substring (1);
            }

            if (const auto h = headingHeight (level); h > 0.0f)
                height = h;
        }

        return runs;
    }

    juce::Rectangle<int> panelBounds (juce::Point<int> clickInList, int scrollY, int pageWidth, int pageHeight)
    {
        const auto x = juce::jmin (juce::jmax (clickInList.x - panelWidth / 2, 15), pageWidth - 15 - panelWidth);
        const auto y = juce::jmin (juce::jmax (clickInList.y - scrollY - panelHeight / 2, 65), pageHeight - 65 - panelHeight);
        return { x, y, panelWidth, panelHeight };
    }
}
