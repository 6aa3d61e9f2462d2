#include "app/SignInLink.h"

namespace
{
    const juce::String linkPrefix ("vamrhelper://email=");
}

std::optional<SignInLink> parseSignInLink (const juce::String& decoded)
{
    if (! decoded.startsWith (linkPrefix))
        return std::nullopt;

    SignInLink link;
    link.email = decoded.fromFirstOccurrenceOf (linkPrefix, false, false)
                        .upToFirstOccurrenceOf ("&", false, false);
    link.code = decoded.fromFirstOccurrenceOf ("&code=", false, false);
    return link;
}

std::optional<SignInLink> parseSignInCommandLine (const juce::String& commandLine)
{
    return parseSignInLink (juce::URL::removeEscapeChars (commandLine));
}

std::optional<juce::String> signInLinkFromCommandLine (const juce::String& commandLine)
{
    auto candidate = commandLine.trim();

    if (candidate.length() >= 2 && candidate.startsWithChar ('"') && candidate.endsWithChar ('"'))
        candidate = candidate.substring (1, candidate.length() - 1).trim();

    if (! juce::URL::removeEscapeChars (candidate).startsWithIgnoreCase ("vamrhelper:"))
        return std::nullopt;

    return candidate;
}
