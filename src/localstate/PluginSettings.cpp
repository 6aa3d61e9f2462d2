#include "localstate/PluginSettings.h"

#include "log/DiagnosticLog.h"
#include "localstate/FormatSettings.h"
#include "localstate/PlainFileName.h"
#include "localstate/SettingsFileOptions.h"
#include "platform/Locations.h"

juce::PropertiesFile::Options pluginSettingsOptions (const juce::String& folderTitle, const juce::String& localKeyName)
{
    return vamrelundSettingsFileOptions (localKeyName, "Vamrelund/" + fileNameTitle (folderTitle), true,
                                         juce::PropertiesFile::storeAsCompressedBinary);
}

juce::File pluginSettingsFile (const juce::String& folderTitle, const juce::String& localKeyName)
{
    const auto folderName = fileNameTitle (folderTitle);

    // Both names come from the catalogue; neither may lead out of the
    // plugins' settings root.
    if (! isPlainFileName (folderName) || ! isPlainFileName (localKeyName))
        return {};

    return Locations::pluginSettingsRoot()
               .getChildFile (folderName)
               .getChildFile (localKeyName + ".settings");
}

juce::String readPluginSetting (const juce::String& folderTitle, const juce::String& localKeyName, const juce::String& key)
{
    auto options = pluginSettingsOptions (folderTitle, localKeyName);
    options.doNotSave = true;

    juce::PropertiesFile properties (pluginSettingsFile (folderTitle, localKeyName), options);
    writeLog ("PropertiesFile2 " + properties.getFile().getFullPathName());

    const auto& all = properties.getAllProperties();

    for (auto& name : all.getAllKeys())
        writeLog ("prop key: " + name);

    for (auto& value : all.getAllValues())
        writeLog ("prop value: " + value);

    return properties.getValue (key, {});
}

void setLocalBuild (const juce::String& title, const juce::String& localKeyName, const juce::String& build)
{
    writeLog ("VRProduct setLocalBuild... " + title + " : " + build);

    if (build.isEmpty())
        return;

    const auto file = pluginSettingsFile (title, localKeyName);

    if (file == juce::File())
    {
        writeLog ("setLocalBuild: no settings file for <" + title + "> <" + localKeyName + ">");
        return;
    }

    juce::PropertiesFile properties (file, pluginSettingsOptions (title, localKeyName));

    // A file that is there but cannot be read holds the plugin's own settings
    // in a form we do not know; writing would replace them with one key.
    if (! properties.isValidFile())
    {
        writeLog ("setLocalBuild: unreadable settings file left alone <" + file.getFullPathName() + ">");
        return;
    }

    properties.setValue ("build", build);

    if (! properties.save())
        writeLog ("setLocalBuild: could not save <" + file.getFullPathName() + ">");
}
