#pragma once

/** Keeps a test binary alive on display errors that a window manager would
    normally absorb (JUCE installs its own handler only inside a running app). */
void installQuietDisplayErrorHandler();
