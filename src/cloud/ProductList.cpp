#include "cloud/ProductList.h"

#include "cloud/InstallTargets.h"
#include "log/DiagnosticLog.h"
#include "localstate/PluginSettings.h"
#include "localstate/RowRules.h"

#include <algorithm>

namespace VRCloud
{
    namespace
    {
        juce::StringArray texts (const juce::var& array)
        {
            juce::StringArray result;

            if (auto* elements = array.getArray())
                for (auto& element : *elements)
                    result.add (element.toString());

            return result;
        }
    }

    ProductRow makeRow (const Product& p, const FormatSettings& settings,
                        const juce::String& parentName, const juce::String& parentTitle)
    {
        ProductRow row;
        row.title = p.title;
        row.subtitle = parentName.isEmpty() ? p.subtitle : "Expansion for " + parentTitle;
        row.name = p.name;
        row.titleNoSpaces = p.title.removeCharacters (" ");
        row.local_key_name = p.local_key_name;
        row.iconImage = p.iconImage;
        row.uiImage = p.uiImage;
        row.icon = p.icon;
        row.ui_image = p.ui_image;
        row.targets = makeInstallTargets (p, settings);
        row.version = parseVersion (p.version);
        row.build = p.build;
        row.installedBuild = readPluginSetting (p.title, p.local_key_name, "build");

        if (row.installedBuild.isEmpty())
            row.installedBuild = "1";

        row.category = p.category;
        row.parentName = parentName;
        row.parentTitle = parentTitle;
        row.contents = texts (p.contents);
        row.product_page_url = p.product_page_url;
        row.release_notes = p.release_notes;
        row.has_manual = p.has_manual;
        row.beta = p.beta;
        row.isPublic = p.isPublic;
        row.build_group = p.build_group;
        row.filesize = p.filesize;
        row.sha256 = p.sha256;
        row.formats = texts (p.formats);
        return row;
    }

    std::vector<ProductRow> prepareProductRows (std::vector<Product> products, const FormatSettings& settings)
    {
        std::stable_sort (products.begin(), products.end(), titleComesBefore);

        std::vector<ProductRow> rows;
        rows.reserve (products.size());

        for (auto& product : products)
        {
            product.checkLocalVersions (settings);

            if (! product.isExpansion())
                rows.push_back (makeRow (product, settings, {}, {}));
        }

        for (auto& product : products)
        {
            if (! product.isExpansion())
                continue;

            if (auto* parents = product.parents.getArray())
            {
                for (auto& parent : *parents)
                {
                    const auto name = parent.getProperty ("name", juce::var()).toString();
                    const auto title = parent.getProperty ("title", juce::var()).toString();

                    const bool listed = name.isNotEmpty()
                                     && std::any_of (rows.begin(), rows.end(), [&] (const ProductRow& r) { return r.name == name; });

                    if (! listed)
                        continue;

                    writeLog ("parents name " + name);
                    writeLog ("parents title " + title);
                    rows.push_back (makeRow (product, settings, name, title));
                }
            }
        }

        return rows;
    }
}
