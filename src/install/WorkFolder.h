#pragma once

#include <juce_core/juce_core.h>

#include <atomic>

/** Numbers the scratch folders that install sequences and manual downloads
    unpack into. Starts at 1; each sequence adds 1 and takes the new value, so
    the first sequence of a process uses folder 2. */
extern std::atomic<int> workFolderCounter;

namespace WorkFolder
{
    /** Adds 1 to workFolderCounter and returns the new value, in one atomic
        step, so two jobs never share a folder. */
    int takeNextNumber();

    /** The numbered folder below the downloads folder. */
    juce::File folderFor (int number);

    /** The archive's place inside a work folder: "vds.zip". */
    juce::File archiveIn (const juce::File& workFolder);
}
