#include "platform/PlatformLocations.h"

namespace PlatformLocations
{
    // Windows plugins on Linux live inside a Wine prefix (the one yabridge uses).
    juce::File driveRoot()
    {
        auto prefix = juce::SystemStats::getEnvironmentVariable ("WINEPREFIX", {}).trim();

        if (prefix.isNotEmpty() && juce::File::isAbsolutePath (prefix))
            return juce::File (prefix).getChildFile ("drive_c");

        return juce::File::getSpecialLocation (juce::File::userHomeDirectory)
                   .getChildFile (".wine")
                   .getChildFile ("drive_c");
    }

    juce::File commonApplicationData()  { return driveRoot().getChildFile ("ProgramData"); }
    juce::File userApplicationData()    { return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory); }
    juce::File userDocuments()          { return juce::File::getSpecialLocation (juce::File::userDocumentsDirectory); }
}
