#pragma once

#include <juce_core/juce_core.h>

/** Built-in configuration of the maker's cloud service, and the process-wide
    base address in front of every request path. */
namespace ServiceConfig
{
    /** Replaces the production origin, for the demo service and for tests. */
    inline constexpr const char* serviceVariable = "VAMRHELPER_SERVICE";

    /** The production origin (or the one VAMRHELPER_SERVICE names), without a trailing slash.
        The web pages (forgot password, sign-in, sign-up, terms) live on it too. */
    juce::String productionOrigin();

    /** productionOrigin() + "/api". */
    juce::String productionApiBase();

    /** The default test server, offered to staff accounts. */
    juce::String defaultTestServer();

    /** The maker's own mail domain; addresses there are staff accounts. */
    juce::String staffMailDomain();
}

/** The base address that every request path is appended to. Written on the
    message thread and read by request threads, so it is guarded. */
juce::String apiBaseURL();
void setApiBaseURL (const juce::String& newBase);
