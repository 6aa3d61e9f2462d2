#include "install/ArchiveVerification.h"

#include "platform/Sha256.h"

namespace ArchiveVerification
{
    juce::String mismatch (const juce::File& archive, juce::int64 expectedSize, const juce::String& expectedSha256,
                           const juce::String& computedSha256)
    {
        if (! archive.existsAsFile())
            return "the archive " + archive.getFullPathName() + " is missing";

        const auto size = archive.getSize();

        if (expectedSize > 0 && size != expectedSize)
            return "the archive has " + juce::String (size) + " bytes, the catalogue gives "
                   + juce::String (expectedSize);

        const auto wanted = expectedSha256.trim().toLowerCase();

        if (wanted.isEmpty())
            return {};

        const auto actual = computedSha256.isNotEmpty() ? computedSha256.trim().toLowerCase()
                                                        : Sha256::ofFile (archive);

        if (actual.isEmpty())
            return "the archive " + archive.getFullPathName() + " cannot be read";

        if (actual != wanted)
            return "the archive's SHA-256 is " + actual + ", the catalogue gives " + wanted;

        return {};
    }
}
