#include "app/settings/SettingsKeys.h"

#include "cloud/ServiceConfig.h"

namespace Settings
{
    juce::String getToken (juce::PropertiesFile& store)   { return store.getValue (SettingsKeys::token, {}); }
    juce::String getEmail (juce::PropertiesFile& store)   { return store.getValue (SettingsKeys::email, {}); }
    bool getUseTestUrl (juce::PropertiesFile& store)      { return store.getBoolValue (SettingsKeys::useTestUrl, false); }

    bool hasAcceptedTerms (juce::PropertiesFile& store)
    {
        return store.getValue (SettingsKeys::acceptedTerms, {}).equalsIgnoreCase ("yes");
    }

    juce::String getTestUrl (juce::PropertiesFile& store)
    {
        return store.getValue (SettingsKeys::testUrl, ServiceConfig::defaultTestServer());
    }
}

void updateApiBase (juce::PropertiesFile& store)
{
    if (Settings::getUseTestUrl (store))
        setApiBaseURL (Settings::getTestUrl (store) + "/api");
    else
        setApiBaseURL (ServiceConfig::productionApiBase());
}
