#include "install/ArchiveVerification.h"

#include <juce_cryptography/juce_cryptography.h>

namespace ArchiveVerification
{
    juce::String mismatch (const juce::File& archive, juce::int64 expectedSize, const juce::String& expectedSha256)
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

        // JUCE hashes in 64-byte reads; unbuffered, that is one system call
        // per 64 bytes of the archive.
        juce::FileInputStream file (archive);

        if (! file.openedOk())
            return "the archive " + archive.getFullPathName() + " cannot be read";

        juce::BufferedInputStream buffered (file, 1 << 20);
        const auto actual = juce::SHA256 (buffered).toHexString().toLowerCase();

        if (actual != wanted)
            return "the archive's SHA-256 is " + actual + ", the catalogue gives " + wanted;

        return {};
    }
}
