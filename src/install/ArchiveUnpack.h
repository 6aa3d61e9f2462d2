#pragma once

#include "install/InstallJob.h"

/** Unpacks the archive into its own folder with the system's unpacking tool,
    reporting progress in the installing phase as the tool lists entries.
    False only when the tool cannot be started; a tool that starts and then
    fails leaves files missing, which placement reports. */
bool unzipArchive (InstallJob& job, const juce::File& archive);
