#pragma once

#include "pewriter/PeImageRecipe.h"

#include <string>

namespace demoservice
{
    /** "1.3.0" plus build "57" gives {1, 3, 0, 57}. Missing or non-numeric parts
        read as 0; each part is clamped to 16 bits. */
    pewriter::VersionQuad versionQuad (const std::string& version, const std::string& build);
}
