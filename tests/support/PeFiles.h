#pragma once

#include "pewriter/PeImage.h"

#include <juce_core/juce_core.h>

using pewriter::PeImageLayout;
using pewriter::PeImageRecipe;
using pewriter::storeLe16;
using pewriter::storeLe32;

/** The DLL the tests install: `version` in the fixed info and, unless
    `fileVersionText` says otherwise, as the FileVersion string. */
PeImageRecipe testDll (pewriter::VersionQuad version = { 1, 2, 3, 4 }, const std::string& fileVersionText = {});

/** Builds the image and writes it, creating the parent folders. */
bool writePeFile (const juce::File& file, const PeImageRecipe& recipe);

/** Writes raw bytes to a file, creating the parent folders. */
bool writeBytes (const juce::File& file, const std::vector<std::uint8_t>& bytes);
