#include "localstate/SettingsFileOptions.h"

juce::PropertiesFile::Options vamrelundSettingsFileOptions (const juce::String& applicationName,
                                                            const juce::String& folderName,
                                                            bool commonToAllUsers,
                                                            juce::PropertiesFile::StorageFormat storageFormat)
{
    juce::PropertiesFile::Options options;
    options.applicationName = applicationName;
    options.filenameSuffix = ".settings";
    options.folderName = folderName;
    options.osxLibrarySubFolder = "Application Support";
    options.commonToAllUsers = commonToAllUsers;
    options.ignoreCaseOfKeyNames = false;
    options.doNotSave = false;
    options.millisecondsBeforeSaving = 3000;
    options.storageFormat = storageFormat;
    options.processLock = nullptr;
    return options;
}
