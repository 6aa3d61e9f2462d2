#pragma once

#include <juce_core/juce_core.h>

/** The answer to one request: its HTTP status (0 when none was obtained) and
    the body parsed as JSON (void when there was none or it was not JSON). */
struct VamretResponse
{
    int status = 0;
    juce::var json;
};
