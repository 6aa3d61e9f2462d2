#include "localstate/FormatSettings.h"

#include "log/DiagnosticLog.h"
#include "platform/Locations.h"

namespace
{
    juce::String activeKey (PluginFormat format)  { return formatStem (format) + "Active"; }
    juce::String pathKey (PluginFormat format)    { return formatStem (format) + "Path"; }

    // The built-in folders end with a separator, as the settings page shows them.
    juce::String builtInFolder (PluginFormat format)
    {
        juce::File folder;

        switch (format)
        {
            case PluginFormats::aax:   folder = Locations::defaultAaxFolder();  break;
            case PluginFormats::vst2:  folder = Locations::defaultVst2Folder(); break;
            case PluginFormats::vst3:  folder = Locations::defaultVst3Folder(); break;
            default:                   return {};
        }

        return folder.getFullPathName() + juce::File::getSeparatorString();
    }
}

void loadFormatSettings (FormatSettings& settings, juce::PropertiesFile& store)
{
    for (PluginFormat format = 0; format < PluginFormats::pluginFormatCount; ++format)
    {
        settings.active[format] = store.getBoolValue (activeKey (format), true);
        store.setValue (activeKey (format), settings.active[format]);

        settings.defaultPath[format] = builtInFolder (format);
        auto value = store.getValue (pathKey (format), {});

        if (value.isEmpty())
            value = settings.defaultPath[format];

        settings.path[format] = value;
        store.setValue (pathKey (format), value);
    }
}

void saveFormatSettings (const FormatSettings& settings, juce::PropertiesFile& store)
{
    for (PluginFormat format = 0; format < PluginFormats::pluginFormatCount; ++format)
    {
        store.setValue (activeKey (format), settings.active[format]);
        store.setValue (pathKey (format), settings.path[format]);
    }

    // saveIfNeeded holds the file's lock while it checks and saves.
    store.saveIfNeeded();
}

juce::File formatFolder (PluginFormat format, FormatSettings settings)
{
    if (format == PluginFormats::resources)
    {
        const auto folder = Locations::resourceFolder();
        writeLog ("RESOURCE path = " + folder.getFullPathName());
        return folder;
    }

    if (format < 0 || format >= PluginFormats::pluginFormatCount)
        return {};

    // A path that is not absolute on this system (a hand-edited file, or one
    // written on another system) names no folder rather than one relative to
    // wherever the process happens to run.
    const auto& path = settings.path[format];
    return juce::File::isAbsolutePath (path) ? juce::File (path) : juce::File();
}

juce::String fileNameTitle (const juce::String& title)
{
    static const juce::String aliasedTitle (juce::CharPointer_UTF8 ("S\xc3\xb8lvkant"));

    if (title == aliasedTitle)
        return "S0lvkant";

    return title;
}
