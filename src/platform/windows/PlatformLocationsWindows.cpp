#include "platform/PlatformLocations.h"

namespace PlatformLocations
{
    // The product writes below these literal folders, as every Windows
    // installer of the maker's plugins does.
    juce::File driveRoot()              { return juce::File ("C:\\"); }
    juce::File commonApplicationData()  { return juce::File::getSpecialLocation (juce::File::commonApplicationDataDirectory); }
    juce::File userApplicationData()    { return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory); }
    juce::File userDocuments()          { return juce::File::getSpecialLocation (juce::File::userDocumentsDirectory); }
}
