#pragma once

#include <juce_core/juce_core.h>

/** The places a product installs into: three plugin formats and the
    product's resource files. */
using PluginFormat = int;

namespace PluginFormats
{
    inline constexpr PluginFormat aax = 0;
    inline constexpr PluginFormat vst2 = 1;
    inline constexpr PluginFormat vst3 = 2;
    inline constexpr PluginFormat resources = 3;

    inline constexpr int pluginFormatCount = 3;  // aax, vst2, vst3
    inline constexpr int count = 4;
}

/** "AAX", "VST", "VST3", "RES": shown on the page and, lower-cased, listed in
    the catalogue's "formats". */
juce::String formatLabel (PluginFormat format);

/** Settings key stem and file extension: "aaxplugin", "dll", "vst3"; empty for resources. */
juce::String formatStem (PluginFormat format);
