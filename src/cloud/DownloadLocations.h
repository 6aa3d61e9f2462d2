#pragma once

#include <juce_core/juce_core.h>

namespace VRCloud
{
    /** A value as a JSON string literal, quotes included. Ordinary values are
        unchanged apart from the quotes; quotes, backslashes and control
        characters are escaped so the body stays valid JSON. */
    juce::String jsonString (const juce::String& value);

    /** The body of "/vds/getPluginResourceURL". The build goes in as a
        number, and only when it is not empty. */
    juce::String pluginResourceBody (const juce::String& name, const juce::String& version,
                                     const juce::String& build, bool anyPlatform);

    /** The body of "/vds/getManualResourceURL". */
    juce::String manualResourceBody (const juce::String& name);

    /** The archive address of a product; empty when none was obtained.
        Blocks for up to ten seconds. */
    juce::String getPluginResourceURL (const juce::String& name, const juce::String& token,
                                       const juce::String& version, const juce::String& build,
                                       bool anyPlatform);

    /** The manual's address; empty when none was obtained. */
    juce::String getManualResourceURL (const juce::String& name, const juce::String& token);

    /** Address, version and build of the newest internal application build.
        On failure returns false and leaves the outputs unchanged. */
    bool getLatestInternalVDSInfo (const juce::String& token, juce::String& url,
                                   juce::String& version, juce::String& build);
}
