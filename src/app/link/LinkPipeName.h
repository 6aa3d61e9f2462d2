#pragma once

#include <juce_core/juce_core.h>

/** The name of the local pipe on which the main instance takes sign-in links
    from processes that the browser starts.

    One name per user and per data folder: two accounts on one computer, or
    two sandboxes (VAMRHELPER_ROOT), never reach each other's instance. The
    name holds only letters, digits, '-' and '_', so every system takes it as
    a pipe name and as a file name.
*/
juce::String linkPipeName (const juce::String& userName, const juce::File& dataFolder);

/** The name for the user running this process and its data folder. */
juce::String linkPipeName();
