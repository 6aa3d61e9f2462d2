#pragma once

#include <juce_core/juce_core.h>

/** The service's web pages that the application opens in the browser. They
    live on the production origin (ServiceConfig::productionOrigin, which
    VAMRHELPER_SERVICE replaces); the login page may use a developer origin
    for the first two instead. */
namespace WebPages
{
    juce::String forgotPassword (const juce::String& origin);
    juce::String browserSignIn (const juce::String& origin);

    juce::String signUp();
    juce::String terms();
}
