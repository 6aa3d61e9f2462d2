#include "localstate/FilePresence.h"

bool isPresent (const juce::File& file)
{
    return file.getFullPathName().isNotEmpty() && file.exists();
}
