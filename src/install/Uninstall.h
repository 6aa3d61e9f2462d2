#pragma once

#include "install/InstallQueue.h"
#include "localstate/FormatSettings.h"
#include "localstate/ProductRow.h"

#include <vector>

/** Removing what placement put on disk, for the products page's "Uninstall"
    and the settings page's "Wipe". Message thread; each call runs to its
    end in one go. Every delete stays inside the three format folders and
    the data folder, and never passes through a link. */
namespace Uninstall
{
    /** The name a row is uninstalled under: its title through the name aliases. */
    juce::String nameFor (const ProductRow& row);

    /** Deletes a plugin's files in the three format folders and its
        resource folders in the data folder. */
    void unInstall (const juce::String& name, const FormatSettings& settings, const juce::File& dataFolder);

    /** Deletes an expansion's listed files below the parent's folder in the
        data folder, then the folders that became empty (never the parent's
        folder itself). */
    void unInstallExtension (const juce::String& parentTitle, const juce::StringArray& contents,
                             const juce::File& dataFolder);

    /** At least one of an expansion's entries exists below the parent's folder. */
    bool anyExpansionFilePresent (const ProductRow& row, const juce::File& dataFolder);

    /** A plugin row with any target (the resources one included) on disk, or an
        expansion row with any of its files on disk. */
    bool isOnDisk (const ProductRow& row, const juce::File& dataFolder);

    /** The rows installed on this computer, in list order: what Wipe offers. */
    std::vector<ProductRow> installedRows (const std::vector<ProductRow>& rows, const juce::File& dataFolder);

    /** Uninstalls one row, unless its install job is still running (then it
        only logs why). Returns false when it refused. */
    bool uninstallRow (const ProductRow& row, const FormatSettings& settings, const juce::File& dataFolder,
                       const InstallQueue* queue);

    /** Uninstalls the rows that are on disk, each plugin at most once, with
        no questions asked. Rows whose install job runs are left alone. */
    void wipeProducts (const std::vector<ProductRow>& rows, const FormatSettings& settings, const juce::File& dataFolder,
                       const InstallQueue* queue);
}
