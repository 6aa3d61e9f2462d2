#pragma once

#include "localstate/ProductRow.h"

/** At least one plugin-format target exists on disk. */
bool isInstalled (const ProductRow& row);

/** Installed, and an offered format is older than the catalogue, or a
    pre-release build group has another build than the one installed. */
bool needsUpdate (const ProductRow& row);

/** Every offered plugin format has its file. */
bool allOfferedFormatsInstalled (const ProductRow& row);

/** "v" + the lowest valid version of the targets, optionally with "(build)". */
juce::String installedVersionText (const ProductRow& row, bool withBuild);

/** For an expansion row: every "contents" entry exists below the parent's
    data folder. */
bool checkExtensionAllfilesInstalled (const ProductRow& row);

/** Reads the version of every target's file again, after an install or an
    uninstall changed them. */
void rereadTargetVersions (ProductRow& row);
