#include "support/FileLinks.h"

#include <unistd.h>

bool makeLink (const juce::File& link, const juce::File& target)
{
    return symlink (target.getFullPathName().toRawUTF8(), link.getFullPathName().toRawUTF8()) == 0;
}
