#pragma once

#include "localstate/PluginFormat.h"
#include "localstate/VersionNumber.h"

/** One format of a products-page row: the file it occupies and the version
    found there. */
struct InstallTarget
{
    PluginFormat format = PluginFormats::aax;
    juce::File file;
    VersionNumber version;
};
