#include "platform/FileVersion.h"

juce::String readFileVersion (const juce::File& file)
{
    // GetFileVersionInfo and VS_FIXEDFILEINFO, through JUCE.
    return file.getFullPathName().isEmpty() ? juce::String() : file.getVersion();
}
