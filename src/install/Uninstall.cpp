#include "install/Uninstall.h"

#include "install/ProductNameAliases.h"
#include "install/UninstallPlan.h"
#include "localstate/FilePresence.h"
#include "log/DiagnosticLog.h"
#include "platform/LinkSafeDelete.h"

#include <set>

namespace
{
    /** An expansion without a parent title is still no plugin: uninstalling
        it under its own title could remove a plugin of that name. */
    bool isExpansionRow (const ProductRow& row)
    {
        return row.isExpansion() || row.parentTitle.isNotEmpty();
    }

    void logRefusals (const UninstallPlan& plan)
    {
        for (const auto& line : plan.refusals)
            writeLog (line);
    }

    bool refuseUnconfined (const UninstallStep& step)
    {
        if (isConfinedDelete (step.target, step.root))
            return false;

        writeLog ("   refused, leaves its folder or passes a link: " + step.target.getFullPathName());
        return true;
    }

    /** Every real folder below folder, a folder before its contents. Links are
        neither listed nor entered, so a link to somewhere else is never
        looked into, let alone emptied. */
    void collectFolders (const juce::File& folder, juce::Array<juce::File>& found)
    {
        for (const auto& child : folder.findChildFiles (juce::File::findDirectories, false, "*"))
        {
            if (LinkSafeDelete::isLink (child))
                continue;

            found.add (child);
            collectFolders (child, found);
        }
    }

    /** Removes folders left empty below root, at most five passes, stopping
        after a pass that removed nothing. */
    void removeEmptyFolders (const juce::File& root)
    {
        if (! root.isDirectory() || LinkSafeDelete::isLink (root))
            return;

        const auto rootPath = root.getFullPathName() + juce::File::getSeparatorString();

        for (int pass = 0; pass < 5; ++pass)
        {
            juce::Array<juce::File> folders;
            collectFolders (root, folders);
            bool removedAny = false;

            for (const auto& folder : folders)
            {
                const auto path = folder.getFullPathName();

                if (! path.startsWith (rootPath) || path.contains (".."))
                    continue;

                // deleteFile removes a folder only when it is empty, hidden files counted.
                if (folder.findChildFiles (juce::File::findFilesAndDirectories, false, "*").isEmpty()
                     && folder.deleteFile())
                    removedAny = true;
            }

            if (! removedAny)
                break;
        }
    }
}

namespace Uninstall
{
    juce::String nameFor (const ProductRow& row)
    {
        return ProductNameAliases::displayName (row.title);
    }

    void unInstall (const juce::String& name, const FormatSettings& settings, const juce::File& dataFolder)
    {
        writeLog ("unInstall " + name);

        const auto plan = planPluginUninstall (name, settings, dataFolder);
        logRefusals (plan);

        for (const auto& step : plan.steps)
        {
            if (! isPresent (step.target) && ! LinkSafeDelete::isLink (step.target))
                continue;

            if (refuseUnconfined (step))
                continue;

            // Failures (a file in use) leave the file; nothing is reported.
            if (step.kind == UninstallStep::Kind::file)
                step.target.deleteFile();
            else if (step.target.getFullPathName().length() > 3)
                LinkSafeDelete::deleteTree (step.target);
        }
    }

    void unInstallExtension (const juce::String& parentTitle, const juce::StringArray& contents,
                             const juce::File& dataFolder)
    {
        writeLog ("unInstallExtension " + parentTitle);

        const auto plan = planExpansionUninstall (parentTitle, contents, dataFolder);
        logRefusals (plan);

        for (const auto& step : plan.steps)
        {
            const auto path = step.target.getFullPathName();
            writeLog ("   will delete " + path);

            if (! isPresent (step.target) && ! LinkSafeDelete::isLink (step.target))
            {
                writeLog ("   NOT FOUND: " + path);
                continue;
            }

            if (refuseUnconfined (step))
                continue;

            if (! step.target.deleteFile())
                writeLog ("   COULD NOT DELETE: " + path);
        }

        removeEmptyFolders (expansionParentFolder (parentTitle, dataFolder));
    }

    bool anyExpansionFilePresent (const ProductRow& row, const juce::File& dataFolder)
    {
        const auto parentFolder = expansionParentFolder (row.parentTitle, dataFolder);

        if (parentFolder == juce::File())
            return false;

        for (const auto& entry : row.contents)
            if (isPresent (expansionEntryFile (parentFolder, entry)))
                return true;

        return false;
    }

    bool isOnDisk (const ProductRow& row, const juce::File& dataFolder)
    {
        if (row.isExpansion())
            return anyExpansionFilePresent (row, dataFolder);

        for (const auto& target : row.targets)
            if (isPresent (target.file))
                return true;

        return false;
    }

    std::vector<ProductRow> installedRows (const std::vector<ProductRow>& rows, const juce::File& dataFolder)
    {
        std::vector<ProductRow> installed;

        for (const auto& row : rows)
            if (isOnDisk (row, dataFolder))
                installed.push_back (row);

        return installed;
    }

    bool uninstallRow (const ProductRow& row, const FormatSettings& settings, const juce::File& dataFolder,
                       const InstallQueue* queue)
    {
        // A running job may be placing these very files; deleting under it
        // would leave half a product behind.
        if (queue != nullptr && queue->isRunning (InstallQueue::keyFor (row)))
        {
            writeLog ("uninstall refused while its install runs: " + row.title);
            return false;
        }

        if (isExpansionRow (row))
            unInstallExtension (row.parentTitle, row.contents, dataFolder);
        else
            unInstall (nameFor (row), settings, dataFolder);

        return true;
    }

    void wipeProducts (const std::vector<ProductRow>& rows, const FormatSettings& settings, const juce::File& dataFolder,
                       const InstallQueue* queue)
    {
        std::set<juce::String> pluginsDone;

        for (const auto& row : rows)
        {
            const bool plugin = ! isExpansionRow (row);

            if (plugin ? ! isOnDisk (row, dataFolder) || pluginsDone.count (nameFor (row)) != 0
                       : ! anyExpansionFilePresent (row, dataFolder))
                continue;

            writeLog ("will wipe: " + row.title);

            if (uninstallRow (row, settings, dataFolder, queue) && plugin)
                pluginsDone.insert (nameFor (row));
        }
    }
}
