#pragma once

#include <juce_core/juce_core.h>

/** Opens one of the service's web pages in the browser and logs what went
    wrong, so a link that does nothing leaves a trace in the log. */
bool openWebPage (const juce::String& address);
