#pragma once

#include <juce_core/juce_core.h>

/** The system's own answers for the roots that Locations builds on, used
    when no sandbox folder is set. Each system implements these in its folder. */
namespace PlatformLocations
{
    juce::File driveRoot();
    juce::File commonApplicationData();
    juce::File userApplicationData();
    juce::File userDocuments();
}
