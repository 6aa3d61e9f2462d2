#include "pewriter/PeImageRecipe.h"

namespace pewriter
{
std::string versionText (const VersionQuad& v)
{
    return std::to_string (v[0]) + "." + std::to_string (v[1]) + "." + std::to_string (v[2]) + "." + std::to_string (v[3]);
}
}
