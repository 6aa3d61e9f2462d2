#pragma once

#include <juce_data_structures/juce_data_structures.h>

/** What every Vamrelund settings file is opened with, the application's and
    the plugins' alike: a ".settings" file below "Application Support" on a
    Mac, keys compared with case, saved three seconds after a change, and no
    lock across processes. The callers add who owns the file and how it is
    stored. */
juce::PropertiesFile::Options vamrelundSettingsFileOptions (const juce::String& applicationName,
                                                            const juce::String& folderName,
                                                            bool commonToAllUsers,
                                                            juce::PropertiesFile::StorageFormat storageFormat);
