#include "app/link/LinkPipeName.h"

#include "platform/Locations.h"

namespace
{
    juce::String plainText (const juce::String& text, int maxLength)
    {
        juce::String plain;

        for (auto character : text)
        {
            if (plain.length() >= maxLength)
                break;

            const bool kept = (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z')
                           || (character >= '0' && character <= '9') || character == '-' || character == '_';
            plain += kept ? character : (juce::juce_wchar) '_';
        }

        return plain;
    }
}

juce::String linkPipeName (const juce::String& userName, const juce::File& dataFolder)
{
    // Folders that the file system does not tell apart by case are one folder.
    auto folder = dataFolder.getFullPathName();

    if (! juce::File::areFileNamesCaseSensitive())
        folder = folder.toLowerCase();

    // The user's name is kept readable; the hash also covers the full name,
    // so two names that read alike once cut short still differ.
    const auto hash = (juce::String (userName) + "\n" + folder).hashCode64();

    return "VamrelundHelper-" + plainText (userName, 32) + "-"
         + juce::String::toHexString ((juce::int64) hash).paddedLeft ('0', 16);
}

juce::String linkPipeName()
{
    return linkPipeName (juce::SystemStats::getLogonName(), Locations::dataFolder());
}
