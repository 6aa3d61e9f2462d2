#pragma once

#include <juce_core/juce_core.h>

/** A few products are known to the service, or shown, under another name
    than the catalogue's. Comparison is exact, case included. */
namespace ProductNameAliases
{
    /** The name a plugin's local_key_name is sent as when asking for its archive. */
    juce::String downloadRequestName (const juce::String& localKeyName);

    /** The name a product's title is shown and uninstalled under. */
    juce::String displayName (const juce::String& title);
}
