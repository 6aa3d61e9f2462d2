#pragma once

#include <juce_core/juce_core.h>

/** Puts a new version in place so that a failure at any point (a failed
    copy, a full disk, a killed process) leaves the previous version whole.

    A file is copied beside its target under a temporary name and then
    renamed over the target, which the system does in one step. A bundle
    folder is copied into a sibling staging folder; the old bundle is renamed
    aside, the staged one renamed in, and the old one removed; if the second
    rename fails, the old bundle is renamed back.

    A folder is never replaced by a file, nor a file by a folder. Missing
    parent folders of the target are created. Symbolic links inside a
    bundle are not copied: they could point anywhere. */
namespace FileReplacement
{
    juce::Result replaceFile (const juce::File& source, const juce::File& target);

    juce::Result replaceBundle (const juce::File& source, const juce::File& target);

    /** The temporary names used beside a target; a later run overwrites them. */
    juce::File stagingFor (const juce::File& target);
    juce::File asideFor (const juce::File& target);
}
