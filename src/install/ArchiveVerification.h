#pragma once

#include <juce_core/juce_core.h>

/** Checks a complete archive against what the catalogue says about it, so a
    wrong or damaged file is never unpacked. */
namespace ArchiveVerification
{
    /** Why the archive does not match, or empty when it does. An expected size
        of 0 or less and an empty sha256 (hex, any case) are not checked.

        computedSha256 is the archive's digest (hex) as the download worked it
        out while writing the file, which spares reading the file again; when
        empty, the file itself is hashed here. */
    juce::String mismatch (const juce::File& archive, juce::int64 expectedSize, const juce::String& expectedSha256,
                           const juce::String& computedSha256 = {});
}
