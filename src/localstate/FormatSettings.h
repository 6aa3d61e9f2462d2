#pragma once

#include "localstate/PluginFormat.h"

#include <juce_data_structures/juce_data_structures.h>

/** Per plugin format: the folder in use, its built-in default and whether
    the format is switched on. A plain value, copied freely. */
struct FormatSettings
{
    juce::String path[PluginFormats::pluginFormatCount];
    juce::String defaultPath[PluginFormats::pluginFormatCount];
    bool active[PluginFormats::pluginFormatCount] { true, true, true };
};

/** Reads the "<stem>Active" and "<stem>Path" keys (defaults: on, and the
    built-in folder) and writes them straight back, so the keys exist. */
void loadFormatSettings (FormatSettings& settings, juce::PropertiesFile& store);

/** Writes all six keys and saves the file if it changed. */
void saveFormatSettings (const FormatSettings& settings, juce::PropertiesFile& store);

/** The folder of a format; for resources the machine-wide resource folder
    (logged as "RESOURCE path = ..."). */
juce::File formatFolder (PluginFormat format, FormatSettings settings);

/** The name used for a product's files and folders: the title, through the
    built-in alias table. */
juce::String fileNameTitle (const juce::String& title);
