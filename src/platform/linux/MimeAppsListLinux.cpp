#include "platform/linux/MimeAppsListLinux.h"

#include <vector>

namespace
{
    /** One line with its own ending ("" for a last line without one). */
    struct Line
    {
        juce::String content, ending;

        juce::String text() const { return content + ending; }
    };

    std::vector<Line> splitLines (const juce::String& text)
    {
        std::vector<Line> lines;

        for (int start = 0; start < text.length();)
        {
            const auto newline = text.indexOfChar (start, '\n');
            const auto end = newline < 0 ? text.length() : newline + 1;
            auto line = text.substring (start, end);
            const auto ending = line.endsWith ("\r\n") ? juce::String ("\r\n")
                              : line.endsWith ("\n")   ? juce::String ("\n")
                                                       : juce::String();
            lines.push_back ({ line.dropLastCharacters (ending.length()), ending });
            start = end;
        }

        return lines;
    }

    bool isSectionHeader (const Line& line)   { return line.content.trimStart().startsWithChar ('['); }
    bool isBlank (const Line& line)           { return line.content.trim().isEmpty(); }

    bool isEntryFor (const Line& line, const juce::String& mimeType)
    {
        return line.content.containsChar ('=')
            && line.content.upToFirstOccurrenceOf ("=", false, false).trim() == mimeType;
    }
}

namespace MimeAppsList
{
    juce::String withDefaultApplication (const juce::String& text, const juce::String& mimeType,
                                         const juce::String& desktopEntry)
    {
        const Line entry { mimeType + "=" + desktopEntry + ";", "\n" };
        auto lines = splitLines (text);

        // The first [Default Applications] section: its lines run up to the next header.
        size_t sectionStart = lines.size();

        for (size_t i = 0; i < lines.size(); ++i)
        {
            if (lines[i].content.trim() == defaultSection)
            {
                sectionStart = i;
                break;
            }
        }

        if (sectionStart == lines.size())
        {
            juce::String result (text);

            if (result.isNotEmpty() && ! result.endsWithChar ('\n'))
                result << "\n";

            if (! lines.empty() && ! isBlank (lines.back()))
                result << "\n";

            return result + defaultSection + "\n" + entry.text();
        }

        auto sectionEnd = sectionStart + 1;

        while (sectionEnd < lines.size() && ! isSectionHeader (lines[sectionEnd]))
            ++sectionEnd;

        std::vector<Line> edited (lines.begin(), lines.begin() + (std::ptrdiff_t) sectionStart + 1);
        bool written = false;

        for (auto i = sectionStart + 1; i < sectionEnd; ++i)
        {
            if (! isEntryFor (lines[i], mimeType))
                edited.push_back (lines[i]);
            else if (! written)
            {
                edited.push_back ({ entry.content, lines[i].ending.isEmpty() ? juce::String ("\n") : lines[i].ending });
                written = true;
            }
        }

        if (! written)
        {
            // After the section's last entry, before the blank lines that part it from the next.
            auto at = edited.size();

            while (at > sectionStart + 1 && isBlank (edited[at - 1]))
                --at;

            if (edited[at - 1].ending.isEmpty())
                edited[at - 1].ending = "\n";

            edited.insert (edited.begin() + (std::ptrdiff_t) at, entry);
        }

        edited.insert (edited.end(), lines.begin() + (std::ptrdiff_t) sectionEnd, lines.end());

        juce::String result;

        for (const auto& line : edited)
            result << line.text();

        return result;
    }
}
