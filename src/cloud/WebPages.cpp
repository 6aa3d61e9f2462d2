#include "cloud/WebPages.h"

#include "cloud/ServiceConfig.h"

namespace WebPages
{
    juce::String forgotPassword (const juce::String& origin)  { return origin + "/forgot-password"; }
    juce::String browserSignIn (const juce::String& origin)   { return origin + "/sso"; }

    juce::String signUp()   { return ServiceConfig::productionOrigin() + "/sign-up"; }
    juce::String terms()    { return ServiceConfig::productionOrigin() + "/terms"; }
}
