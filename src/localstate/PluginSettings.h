#pragma once

#include <juce_data_structures/juce_data_structures.h>

/** Each plugin's own settings file, of which the application reads and
    writes only the key "build". */

/** The options the plugins open their settings file with. */
juce::PropertiesFile::Options pluginSettingsOptions (const juce::String& folderTitle, const juce::String& localKeyName);

/** <common application data>\Vamrelund\<folder title>\<local key name>.settings */
juce::File pluginSettingsFile (const juce::String& folderTitle, const juce::String& localKeyName);

/** Reads one key (read-only); "" when the file or the key is missing. */
juce::String readPluginSetting (const juce::String& folderTitle, const juce::String& localKeyName, const juce::String& key);

/** Records the build of a finished install. An empty build writes nothing. */
void setLocalBuild (const juce::String& title, const juce::String& localKeyName, const juce::String& build);
