#include "cloud/ServiceConfig.h"

#include <mutex>

namespace
{
    std::mutex baseLock;
    juce::String currentBase;
    bool baseSet = false;
}

namespace ServiceConfig
{
    juce::String productionOrigin()
    {
        auto origin = juce::SystemStats::getEnvironmentVariable (serviceVariable, {}).trim();

        if (origin.isEmpty())
            origin = "https://www.vamrelund.com";

        while (origin.endsWithChar ('/'))
            origin = origin.dropLastCharacters (1);

        return origin;
    }

    juce::String productionApiBase()   { return productionOrigin() + "/api"; }
    juce::String defaultTestServer()   { return "https://test.vamrelund.com"; }
    juce::String staffMailDomain()     { return "vamrelund.com"; }
}

juce::String apiBaseURL()
{
    const std::lock_guard<std::mutex> guard (baseLock);

    if (! baseSet)
    {
        currentBase = ServiceConfig::productionApiBase();
        baseSet = true;
    }

    return currentBase;
}

void setApiBaseURL (const juce::String& newBase)
{
    const std::lock_guard<std::mutex> guard (baseLock);
    currentBase = newBase;
    baseSet = true;
}
