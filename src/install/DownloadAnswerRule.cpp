#include "install/DownloadAnswerRule.h"

namespace DownloadAnswerRule
{
    namespace
    {
        juce::int64 numberOrUnknown (const juce::String& text)
        {
            const auto trimmed = text.trim();

            if (trimmed.isEmpty() || ! trimmed.containsOnly ("0123456789") || trimmed.length() > 18)
                return -1;

            return trimmed.getLargeIntValue();
        }
    }

    ContentRange parseContentRange (const juce::String& value)
    {
        const auto text = value.trim();

        if (! text.startsWithIgnoreCase ("bytes "))
            return {};

        const auto rangeText = text.substring (6).trim();
        const auto span = rangeText.upToFirstOccurrenceOf ("/", false, false).trim();

        ContentRange range;
        range.total = rangeText.contains ("/") ? numberOrUnknown (rangeText.fromFirstOccurrenceOf ("/", false, false)) : -1;

        if (span.contains ("-"))
        {
            range.first = numberOrUnknown (span.upToFirstOccurrenceOf ("-", false, false));
            range.last = numberOrUnknown (span.fromFirstOccurrenceOf ("-", false, false));

            if (range.first < 0 || range.last < range.first)
                range.first = range.last = -1;
        }

        return range;
    }

    Action actionFor (int status, const juce::String& contentRange, juce::int64 onDisk, juce::int64 expectedSize)
    {
        const auto range = parseContentRange (contentRange);

        switch (status)
        {
            case 200:
                return Action::writeFromStart;

            case 206:
                return range.first >= 0 && range.first == onDisk ? Action::append : Action::refuse;

            case 416:
            {
                const auto fullSize = expectedSize > 0 ? expectedSize : range.total;
                return onDisk > 0 && onDisk == fullSize ? Action::alreadyComplete : Action::discardFile;
            }

            default:
                return Action::refuse;
        }
    }

    juce::int64 fullSizeFrom (int status, const juce::String& contentRange, juce::int64 contentLength)
    {
        if (status == 200)
            return contentLength >= 0 ? contentLength : -1;

        if (status == 206 || status == 416)
            return parseContentRange (contentRange).total;

        return -1;
    }
}
