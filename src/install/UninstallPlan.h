#pragma once

#include "localstate/FormatSettings.h"

#include <vector>

/** One deletion an uninstall will make. */
struct UninstallStep
{
    enum class Kind
    {
        file,   // File::deleteFile: a folder only when it is empty
        tree    // the folder and everything in it, links removed as links
    };

    Kind kind = Kind::file;
    juce::File target;
    juce::File root;   // the folder the deletion must stay inside
};

/** What an uninstall deletes, and why anything it was given was refused. */
struct UninstallPlan
{
    std::vector<UninstallStep> steps;
    juce::StringArray refusals;   // one log line per refused name or entry
};

/** A plugin's files: <stem>.vst3, <stem>.dll and the bundle <stem>.aaxplugin
    in their format folders (all three, switched on or not), then the four
    resource folders of <dataFolder>/<name>. name is the row's title through
    the name aliases; stem is the name without spaces.

    The name comes from the network and names folders we delete: one with a
    path separator, a drive or a climbing component is refused whole. A name
    of two characters or fewer plans nothing. */
UninstallPlan planPluginUninstall (const juce::String& name, const FormatSettings& settings, const juce::File& dataFolder);

/** An expansion's files: each contents entry below <dataFolder>/<parentTitle>,
    in order. An entry that is absolute, carries a drive or UNC prefix or
    climbs is skipped with a refusal; a parent title that is not one plain
    folder name refuses the whole expansion. */
UninstallPlan planExpansionUninstall (const juce::String& parentTitle, const juce::StringArray& contents,
                                      const juce::File& dataFolder);

/** The folder of a plugin's data inside the data folder, or an invalid File
    when the parent title is not one plain folder name. */
juce::File expansionParentFolder (const juce::String& parentTitle, const juce::File& dataFolder);

/** The place an expansion entry lives, or an invalid File for an entry that
    could leave the parent's folder. */
juce::File expansionEntryFile (const juce::File& parentFolder, const juce::String& entry);

/** True when deleting target cannot reach outside root: target lies below
    root, and no folder between them is a link or junction (target itself
    may be one; it is then removed as a link). */
bool isConfinedDelete (const juce::File& target, const juce::File& root);

/** The sub-folders of a product's data folder an uninstall removes. */
const juce::StringArray& resourceSubFolders();
