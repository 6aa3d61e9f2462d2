#pragma once

#include "localstate/FormatSettings.h"

#include <optional>
#include <vector>

/** One copy that placement will make. */
struct PlacementStep
{
    enum class Kind
    {
        file,     // a single file, replaced by a rename over the old one
        bundle    // a folder (.aaxplugin), staged beside the old one and swapped in
    };

    Kind kind = Kind::file;
    juce::File source;        // inside the work folder
    juce::File target;        // inside root
    juce::File root;          // the folder the target must stay inside
    juce::String tag;         // "1" VST2, "2" common files, "3" data folder, "E" expansion: numbers the messages
    juce::String logLine;     // written before the copy; empty for none
};

/** What placement does with one contents entry. Entries that are skipped
    (a disabled format, an ending that does not belong) get no item at all. */
struct PlannedEntry
{
    juce::String entry;
    std::optional<PlacementStep> step;   // the copy to make, or
    juce::String failure;                // the message when nothing can be copied
};

/** Where each entry of a product's contents goes.

    Plugin entries start with "{vst2folder}/", "{commonfiles}/" or
    "{commonappdata}/" (exact case); anything else is refused. An
    expansion's entries (parentTitle not empty) all go below the parent's
    folder in the data folder. An entry whose path is absolute, carries a
    drive or UNC prefix or has a ".." component is refused too, and so is any
    target that would not lie inside its root folder: contents come from the
    network and must not write anywhere else.

    dataFolder is the machine-wide data folder (C:\ProgramData\Vamrelund). */
std::vector<PlannedEntry> planPlacement (const juce::StringArray& contents,
                                         const juce::String& parentTitle,
                                         const FormatSettings& settings,
                                         const juce::File& workFolder,
                                         const juce::File& dataFolder);

/** "downloadtofile unallowed path: <entry>" */
juce::String unallowedPathMessage (const juce::String& entry);

/** True for a relative path ("/" or "\" separated) that cannot leave the
    folder it is joined to. */
bool isContainedRelativePath (const juce::String& path);
