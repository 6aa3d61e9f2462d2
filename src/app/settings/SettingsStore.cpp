#include "app/settings/SettingsStore.h"

#include "localstate/SettingsFileOptions.h"
#include "log/DiagnosticLog.h"
#include "platform/FolderAccess.h"
#include "platform/Locations.h"

#include <filesystem>
#include <system_error>

juce::File settingsFileLocation()
{
    return Locations::settingsFolder().getChildFile (JUCE_APPLICATION_NAME_STRING ".settings");
}

juce::PropertiesFile::Options settingsFileOptions()
{
    return vamrelundSettingsFileOptions (JUCE_APPLICATION_NAME_STRING, "Vamrelund", false, juce::PropertiesFile::storeAsXML);
}

std::unique_ptr<juce::PropertiesFile> createPropertiesFile (FormatSettings& formatSettings)
{
    const auto file = settingsFileLocation();
    auto store = std::make_unique<juce::PropertiesFile> (file, settingsFileOptions());

    writeLog ("pfile_ <" + file.getFullPathName() + ">");
    loadFormatSettings (formatSettings, *store);

    // The settings folder appears with the first save; make sure it can.
    file.getParentDirectory().createDirectory();
    store->saveIfNeeded();
    return store;
}

juce::Result ensureDataFolder()
{
    const auto folder = Locations::dataFolder();

    std::error_code error;
    std::filesystem::create_directories (std::filesystem::u8path (folder.getFullPathName().toStdString()), error);

    if (error || ! folder.isDirectory())
    {
        auto reason = error ? juce::String (error.message()) : juce::String ("a file of that name is in the way");
        return juce::Result::fail ("The data folder " + folder.getFullPathName()
                                   + " could not be created (create_directories: " + reason + ").");
    }

    FolderAccess::grantUsersAccessRecursively (folder);
    return juce::Result::ok();
}
