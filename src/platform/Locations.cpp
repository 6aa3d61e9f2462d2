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

    juce::File xdgFolder (const char* variable, std::initializer_list<const char*> belowHome)
    {
        auto path = juce::SystemStats::getEnvironmentVariable (variable, {}).trim();

        if (path.isNotEmpty() && juce::File::isAbsolutePath (path))
            return juce::File (path);

        return below (juce::File::getSpecialLocation (juce::File::userHomeDirectory), belowHome);
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

    juce::File userDataHome()
    {
        auto sandbox = sandboxRoot();
        return sandbox != juce::File() ? below (sandbox, { "xdg", "data" })
                                       : xdgFolder ("XDG_DATA_HOME", { ".local", "share" });
    }

    juce::File userConfigHome()
    {
        auto sandbox = sandboxRoot();
        return sandbox != juce::File() ? below (sandbox, { "xdg", "config" })
                                       : xdgFolder ("XDG_CONFIG_HOME", { ".config" });
    }

    juce::String sandboxRegistryKey()
    {
        auto sandbox = sandboxRoot();

        if (sandbox == juce::File())
            return {};

        // The folder name keeps the key readable in a registry editor; the
        // hash keeps two sandboxes of the same name apart.
        const auto hash = juce::String::toHexString ((juce::int64) sandbox.getFullPathName().hashCode64());
        return juce::String ("Software\\" JUCE_APPLICATION_NAME_STRING " Sandbox\\")
                 + sandbox.getFileName() + " " + hash;
    }

    juce::String userClassesKey()
    {
        const auto sandboxKey = sandboxRegistryKey();
        return sandboxKey.isEmpty() ? juce::String ("Software\\Classes") : sandboxKey + "\\Classes";
    }

    juce::File userDocuments()
    {
        auto sandbox = sandboxRoot();
        return sandbox != juce::File() ? below (sandbox, { "Documents" })
                                       : PlatformLocations::userDocuments();
    }
}
