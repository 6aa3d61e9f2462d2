#pragma once

#include <juce_core/juce_core.h>

#include <vector>

/** One entry of a zip archive written for a test. */
struct TestArchiveEntry
{
    juce::String path;          // stored name, "/" separated
    juce::MemoryBlock bytes;
};

/** A text entry. */
TestArchiveEntry textEntry (const juce::String& path, const juce::String& text);

/** Writes a real zip archive with JUCE's zip writer (deflated entries).
    Returns false when the file cannot be written. */
bool writeTestZip (const juce::File& zip, const std::vector<TestArchiveEntry>& entries);

/** Writes a file's bytes, creating its folders. */
bool writeBytes (const juce::File& file, const juce::MemoryBlock& bytes);

/** Bytes that do not compress: the same seed gives the same bytes. */
juce::MemoryBlock noiseBytes (size_t size, juce::int64 seed);

/** Every file below a folder, as "/" separated relative paths, sorted. */
juce::StringArray filesBelow (const juce::File& folder);
