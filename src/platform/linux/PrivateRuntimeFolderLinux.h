#pragma once

#include <juce_core/juce_core.h>

/** A folder that only this user can enter, for the FIFOs and lock files that
    this user's processes find each other by: <parent>/vamrhelper-<uid>.

    Made with mode 0700 when missing; a folder of ours with looser rights is
    tightened. Anything else in its place (another user's folder, a file, a
    link) is refused, since another user could read or plant what goes in.
    An invalid File when refused or when it cannot be made.
*/
juce::File privateRuntimeFolder (const juce::File& parent);

/** The folder in /tmp. */
juce::File privateRuntimeFolder();
