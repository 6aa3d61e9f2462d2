#pragma once

#include <juce_core/juce_core.h>

/** A major.minor.patch version as the catalogue and the plugins' version
    resources give it. The default is an invalid 1.0.0. */
struct VersionNumber
{
    int invalid = 1;
    int major = 1;
    int minor = 0;
    int patch = 0;

    bool isValid() const noexcept { return invalid == 0; }
};

/** Orders by (major, minor, patch); validity takes no part. */
bool operator< (const VersionNumber& a, const VersionNumber& b) noexcept;
bool operator== (const VersionNumber& a, const VersionNumber& b) noexcept;

/** "1.2.3" and "1.2.3.4" give 1.2.3, "2.5" gives 2.5.0; a text without dots
    or with more than three gives an invalid 1.0.0; a number that cannot be
    read makes the result invalid. */
VersionNumber parseVersion (const juce::String& text);

juce::String versionToText (const VersionNumber& version);
