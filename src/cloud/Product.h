#pragma once

#include "localstate/FormatSettings.h"
#include "localstate/VersionNumber.h"

#include <juce_graphics/juce_graphics.h>

namespace VRCloud
{
    /** One catalogue entry as the service describes it, plus the versions
        found on disk. Copies share the three arrays. */
    struct Product
    {
        juce::String title, subtitle, name, local_key_name;
        juce::String icon;
        juce::Image iconImage;
        juce::String ui_image;
        juce::Image uiImage;
        VersionNumber localVersions[PluginFormats::count];
        juce::String version, build, build_group;
        bool beta = false;
        bool isPublic = false;      // the catalogue's "public"
        juce::String category;
        juce::var parents, contents;
        juce::String product_page_url;
        bool has_manual = false;
        juce::String release_notes;
        juce::int64 filesize = 0;
        juce::String sha256;        // the archive's SHA-256 in hex; empty when not given
        juce::var formats;

        /** "extension" marks an expansion; everything else is a plugin. */
        bool isExpansion() const { return category == "extension"; }

        /** True when the lower-cased label of the format is listed in "formats". */
        bool offersFormat (PluginFormat format) const;

        /** The file or bundle folder the product occupies in a format. */
        juce::File getFormatFile (PluginFormat format, FormatSettings settings) const;

        /** Reads the version resource of every format file that exists. */
        void checkLocalVersions (FormatSettings settings);
    };

    /** One element of the catalogue array. Missing or wrong-typed members take
        their defaults, each on its own. */
    Product parseProduct (const juce::var& element);
}
