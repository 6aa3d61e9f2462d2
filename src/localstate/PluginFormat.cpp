#include "localstate/PluginFormat.h"

juce::String formatLabel (PluginFormat format)
{
    switch (format)
    {
        case PluginFormats::aax:        return "AAX";
        case PluginFormats::vst2:       return "VST";
        case PluginFormats::vst3:       return "VST3";
        case PluginFormats::resources:  return "RES";
        default:                        return {};
    }
}

juce::String formatStem (PluginFormat format)
{
    switch (format)
    {
        case PluginFormats::aax:   return "aaxplugin";
        case PluginFormats::vst2:  return "dll";
        case PluginFormats::vst3:  return "vst3";
        default:                   return {};
    }
}
