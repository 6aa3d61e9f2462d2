#include "cloud/Product.h"

namespace VRCloud
{
    namespace
    {
        juce::String text (const juce::var& object, const char* member)
        {
            return object.getProperty (member, juce::var()).toString();
        }

        bool flag (const juce::var& object, const char* member)
        {
            return (bool) object.getProperty (member, false);
        }

        juce::var array (const juce::var& object, const char* member)
        {
            auto value = object.getProperty (member, juce::var());
            return value.isArray() ? value : juce::var();
        }
    }

    bool Product::offersFormat (PluginFormat format) const
    {
        if (auto* list = formats.getArray())
            for (auto& entry : *list)
                if (entry.toString() == formatLabel (format).toLowerCase())
                    return true;

        return false;
    }

    Product parseProduct (const juce::var& element)
    {
        Product p;
        p.title = text (element, "title");
        p.name = text (element, "name");
        p.subtitle = text (element, "subtitle");
        p.local_key_name = text (element, "local_key_name");
        p.icon = text (element, "icon");
        p.ui_image = text (element, "ui_image");
        p.version = text (element, "version");
        p.build = text (element, "build");
        p.category = text (element, "category");
        p.parents = array (element, "parents");
        p.contents = array (element, "contents");
        p.build_group = text (element, "build_group");
        p.beta = flag (element, "beta");
        p.isPublic = flag (element, "public");
        p.product_page_url = text (element, "product_page_url");
        p.has_manual = flag (element, "has_manual");
        p.release_notes = text (element, "release_notes");
        p.filesize = (juce::int64) element.getProperty ("filesize", (juce::int64) 0);
        p.sha256 = text (element, "sha256");
        p.formats = array (element, "formats");
        return p;
    }
}
