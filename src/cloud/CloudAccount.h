#pragma once

#include <juce_core/juce_core.h>

/** The signed-in account; its token is what every request carries. */
struct CloudAccount
{
    juce::String token;
    juce::String email;
};
