#pragma once

#include "localstate/FormatSettings.h"

#include <juce_data_structures/juce_data_structures.h>

/** The settings file: <settings folder>\Vamrelund Helper.settings. */
juce::File settingsFileLocation();

/** The options the settings file is saved with (its location is explicit). */
juce::PropertiesFile::Options settingsFileOptions();

/** Opens (and loads) the settings file, logs "pfile_ <path>", reads the
    plugin-format settings from it into formatSettings (writing their keys
    back) and saves it if needed. A missing or unreadable file gives every key
    its default. */
std::unique_ptr<juce::PropertiesFile> createPropertiesFile (FormatSettings& formatSettings);

/** Creates the machine-wide data folder with any missing parents and opens
    it, and everything in it, to the Users group. The result names the folder
    and the reason when it cannot be created. */
juce::Result ensureDataFolder();
