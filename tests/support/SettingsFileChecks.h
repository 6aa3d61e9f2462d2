#pragma once

#include <juce_data_structures/juce_data_structures.h>
#include <gtest/gtest.h>

/** The options that the application's and the plugins' settings files share. */
inline void expectSharedSettingsFileOptions (const juce::PropertiesFile::Options& options)
{
    EXPECT_EQ (options.filenameSuffix, ".settings");
    EXPECT_EQ (options.osxLibrarySubFolder, "Application Support");
    EXPECT_FALSE (options.ignoreCaseOfKeyNames);
    EXPECT_FALSE (options.doNotSave);
    EXPECT_EQ (options.millisecondsBeforeSaving, 3000);
    EXPECT_EQ (options.processLock, nullptr);
}
