#pragma once

#include <juce_core/juce_core.h>

/** Replacing a file's text so that a reader sees either the old or the new
    text, never a half-written file: the new text goes into a temporary file
    beside the target, which is then renamed over it. A symbolic link (a
    dotfiles manager's) is followed, so the file it points at is replaced. */
namespace AtomicTextFile
{
    bool replace (const juce::File& target, const juce::String& text);
}
