#pragma once

#include "install/PlacementPlan.h"

/** Carries out a placement plan, in order, with each copy an atomic
    replacement (FileReplacement). A failed entry never stops the others.
    Every failure writes its message to the log at once; the result is the
    message of the last one (lastPlacementError), empty when all went well.

    A source is only taken from inside the work folder: a path that passes
    through a symbolic link (an archive can carry one) counts as missing. */
juce::String executePlacement (const std::vector<PlannedEntry>& plan, const juce::File& workFolder);

/** Plans and places a product's contents: the whole of placement but the
    delayed completion. Returns lastPlacementError. */
juce::String placeFiles (const juce::StringArray& contents,
                         const juce::String& parentTitle,
                         const FormatSettings& settings,
                         const juce::File& workFolder,
                         const juce::File& dataFolder);
