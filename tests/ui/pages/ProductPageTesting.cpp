#include "ProductPageTesting.h"

#include "cloud/ProductList.h"
#include "cloud/ProductsRequest.h"
#include "support/TestEnvironment.h"
#include "platform/Locations.h"
#include "support/PeFiles.h"

#include <gtest/gtest.h>

std::vector<VRCloud::Product> fetchCatalogue (const juce::String& token)
{
    std::vector<VRCloud::Product> result;
    bool arrived = false;
    VRCloud::fetchProducts ({ token, {} }, [&] (std::vector<VRCloud::Product> list)
    {
        result = std::move (list);
        arrived = true;
    });
    EXPECT_TRUE (pumpUntil ([&] { return arrived; }, 15000)) << "no product list within 15 s";
    return result;
}

FormatSettings defaultFormatSettings()
{
    juce::PropertiesFile store (Locations::settingsFolder().getChildFile ("products-test.settings"), {});
    FormatSettings settings;
    loadFormatSettings (settings, store);
    return settings;
}

VRCloud::Product makeProduct (const juce::String& title, const juce::String& category,
                              const juce::String& version, juce::StringArray formats,
                              const juce::String& buildGroup)
{
    VRCloud::Product p;
    p.title = title;
    p.subtitle = "A " + category;
    p.name = title.toLowerCase().removeCharacters (" ");
    p.local_key_name = p.name;
    p.category = category;
    p.version = version;
    p.build = "100";
    p.build_group = buildGroup;
    p.isPublic = true;

    juce::Array<juce::var> list;
    for (auto& f : formats)
        list.add (f);
    p.formats = list;
    return p;
}

void installFormat (const VRCloud::Product& product, PluginFormat format,
                    std::array<std::uint16_t, 4> version, const FormatSettings& settings)
{
    auto options = testDll (version);
    const auto file = product.getFormatFile (format, settings);

    if (format == PluginFormats::resources)
    {
        file.getParentDirectory().createDirectory();
        file.replaceWithText ("assets");
        return;
    }

    writePeFile (file, options);
}

ProductRow rowFor (VRCloud::Product product, const FormatSettings& settings)
{
    product.checkLocalVersions (settings);
    return VRCloud::makeRow (product, settings, {}, {});
}

void showRows (ProductsPage& page, const std::vector<ProductRow>& rows)
{
    page.clearList();

    for (auto& row : rows)
        page.addRow (row);

    page.buildCells();
    page.setSize (820, 600);
    page.listBuilt();
    page.showSpinner (false);
}

ProductsPage::Cell* cellNamed (ProductsPage& page, const juce::String& name)
{
    for (auto& cell : page.cells)
        if (cell->row.name == name)
            return cell.get();

    return nullptr;
}
