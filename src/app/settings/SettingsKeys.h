#pragma once

#include <juce_data_structures/juce_data_structures.h>

/** Keys of the settings file and the rules for reading them. */
namespace SettingsKeys
{
    inline constexpr const char* token         = "token";
    inline constexpr const char* email         = "email";
    inline constexpr const char* acceptedTerms = "acceptedTerms";
    inline constexpr const char* testUrl       = "testUrl";
    inline constexpr const char* useTestUrl    = "useTestUrl";
    inline constexpr const char* vst2folder    = "vst2folder";
}

namespace Settings
{
    juce::String getToken (juce::PropertiesFile& store);
    juce::String getEmail (juce::PropertiesFile& store);

    /** "acceptedTerms" holds "yes" once accepted, in any case. */
    bool hasAcceptedTerms (juce::PropertiesFile& store);

    bool getUseTestUrl (juce::PropertiesFile& store);

    /** "testUrl", defaulting to the built-in test server. */
    juce::String getTestUrl (juce::PropertiesFile& store);
}

/** Points apiBaseURL at the test server ("testUrl" + "/api") when
    "useTestUrl" is set, and at production otherwise. The address is taken as
    it stands: a trailing slash gives "//api". */
void updateApiBase (juce::PropertiesFile& store);
