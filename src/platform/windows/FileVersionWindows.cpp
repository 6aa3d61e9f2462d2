#include "platform/FileVersion.h"

#include "platform/PeVersionFile.h"

juce::String readFileVersion (const juce::File& file)
{
    if (file.getFullPathName().isEmpty() || ! file.existsAsFile())
        return {};

    // The system's reader trusts the resource tree: under Wine a data entry
    // pointing outside the image crashes the process. Our bounded reader
    // vets the file first; only a well-formed resource reaches
    // GetFileVersionInfo (through JUCE), whose text is the one used.
    if (readPeFileVersionText (file).isEmpty())
        return {};

    return file.getVersion();
}
