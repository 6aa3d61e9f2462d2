#include "platform/Locations.h"

#include "platform/PlatformLocations.h"

#include <initializer_list>

namespace
{
    juce::File below (juce::File folder, std::initializer_list<const char*> names)
    {
        for (auto* name : names)
            folder = folder.getChildFile (name);

        return folder;
    }
}

namespace Locations
{
    juce::File sandboxRoot()
    {
        auto path = juce::SystemStats::getEnvironmentVariable (sandboxVariable, {}).trim();

        if (path.isEmpty() || ! juce::File::isAbsolutePath (path))
            return {};

        return juce::File (path);
    }

    juce::File driveRoot()
    {
        auto sandbox = sandboxRoot();
        return sandbox != juce::File() ? sandbox : PlatformLocations::driveRoot();
    }

    juce::File commonApplicationData()
    {
        auto sandbox = sandboxRoot();
        return sandbox != juce::File() ? below (sandbox, { "ProgramData" })
                                       : PlatformLocations::commonApplicationData();
    }

    juce::File dataFolder()                 { return below (driveRoot(), { "ProgramData", "Vamrelund" }); }
    juce::File settingsFolder()             { return below (commonApplicationData(), { "Vamrelund", JUCE_APPLICATION_NAME_STRING }); }
    juce::File pluginSettingsRoot()         { return below (commonApplicationData(), { "Vamrelund" }); }
    juce::File resourceFolder()             { return below (commonApplicationData(), { "Application Support", "Vamrelund" }); }
    juce::File downloadsFolder()            { return below (driveRoot(), { "Program Files", "Vamrelund", "Helper", "downloads" }); }
    juce::File commonFilesFolder()          { return below (driveRoot(), { "Program Files", "Common Files" }); }
    juce::File defaultVst3Folder()          { return below (commonFilesFolder(), { "VST3" }); }
    juce::File defaultAaxFolder()           { return below (commonFilesFolder(), { "Avid", "Audio", "Plug-Ins" }); }
    juce::File defaultVst2Folder()          { return below (driveRoot(), { "Program Files", "Steinberg", "VSTPlugins" }); }

    juce::File userApplicationData()
    {
        auto sandbox = sandboxRoot();
        return sandbox != juce::File() ? below (sandbox, { "AppData" })
                                       : PlatformLocations::userApplicationData();
    }

    juce::File userDocuments()
    {
        auto sandbox = sandboxRoot();
        return sandbox != juce::File() ? below (sandbox, { "Documents" })
                                       : PlatformLocations::userDocuments();
    }
}
