#pragma once

#include <juce_core/juce_core.h>

/** The number of entries a zip archive records in its end-of-central-directory
    record, found by a backward search through the archive's last 64 KiB.
    -1 when the file cannot be read or holds no such record. Only used to
    scale the unpacking progress, so a wrong count is harmless. */
int countZipEntries (const juce::File& archive);
