#pragma once

#include "localstate/InstallTarget.h"

#include <juce_graphics/juce_graphics.h>

#include <vector>

/** The record behind one products-page cell. */
struct ProductRow
{
    juce::String title, subtitle, name;
    juce::String titleNoSpaces;
    juce::String local_key_name;
    juce::Image iconImage, uiImage;
    juce::String icon, ui_image;
    std::vector<InstallTarget> targets;
    VersionNumber version;
    juce::String build;
    juce::String installedBuild;
    juce::String category;
    juce::String parentName, parentTitle;
    juce::StringArray contents;
    juce::String product_page_url, release_notes;
    bool has_manual = false, beta = false, isPublic = false;
    juce::String build_group;
    juce::int64 filesize = 0;
    juce::String sha256;
    juce::StringArray formats;

    bool isExpansion() const { return category == "extension"; }
    bool offersFormat (PluginFormat format) const { return formats.contains (formatLabel (format).toLowerCase()); }
};
