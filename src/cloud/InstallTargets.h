#pragma once

#include "cloud/Product.h"
#include "localstate/InstallTarget.h"

#include <vector>

/** The install targets of a row: the active plugin formats (aax, vst2,
    vst3, in that order), then always resources. "lumo" has no VST2 file. */
std::vector<InstallTarget> makeInstallTargets (const VRCloud::Product& product, const FormatSettings& settings);
