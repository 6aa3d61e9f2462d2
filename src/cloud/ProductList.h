#pragma once

#include "cloud/Product.h"
#include "cloud/ProductOrder.h"
#include "localstate/ProductRow.h"

#include <vector>

namespace VRCloud
{
    /** Turns a fetched catalogue into the products page's rows: sorted by
        title, with installed versions read from disk; plugins first, then one
        row per expansion and listed parent. */
    std::vector<ProductRow> prepareProductRows (std::vector<Product> products, const FormatSettings& settings);

    /** One row from a product; parentName and parentTitle are empty for a plugin. */
    ProductRow makeRow (const Product& product, const FormatSettings& settings,
                        const juce::String& parentName, const juce::String& parentTitle);
}
