#pragma once

#include "cloud/Product.h"

namespace VRCloud
{
    /** The catalogue order: titles compared naturally (digit runs by value),
        ignoring case. Empty titles come first; among themselves they are
        equal, so a stable sort keeps their incoming order. */
    bool titleComesBefore (const Product& a, const Product& b);
}
