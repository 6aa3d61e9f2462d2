#include "install/PlacementPlan.h"

namespace
{
    const juce::String vst2Placeholder ("{vst2folder}/");
    const juce::String commonFilesPlaceholder ("{commonfiles}/");
    const juce::String commonAppDataPlaceholder ("{commonappdata}/");

    juce::StringArray pathComponents (const juce::String& path)
    {
        return juce::StringArray::fromTokens (path.replaceCharacter ('\\', '/'), "/", {});
    }

    /** Joins each component with getChildFile, so both separators behave
        the same on every system. */
    juce::File below (juce::File folder, const juce::String& relative)
    {
        for (const auto& part : pathComponents (relative))
            if (part.isNotEmpty())
                folder = folder.getChildFile (part);

        return folder;
    }

    juce::String moveLine (const juce::String& tag, const juce::File& source, const juce::File& target)
    {
        return tag + ".MOVEFILE: <" + source.getFullPathName() + "> --> <" + target.getFullPathName() + ">";
    }

    PlannedEntry refused (const juce::String& entry)
    {
        return { entry, std::nullopt, unallowedPathMessage (entry) };
    }

    PlannedEntry planned (const juce::String& entry, PlacementStep step)
    {
        if (step.root == juce::File() || ! step.target.isAChildOf (step.root))
            return refused (entry);

        return { entry, std::move (step), {} };
    }

    juce::File folderOf (PluginFormat format, const FormatSettings& settings)
    {
        const auto& path = settings.path[format];
        return juce::File::isAbsolutePath (path) ? juce::File (path) : juce::File();
    }

    /** An entry bound for a plugin format's folder: the same relative path
        below the work folder and below the format's folder. */
    PlannedEntry planFormatFolderEntry (const juce::String& entry, const juce::String& rest, const juce::File& root,
                                        PlacementStep::Kind kind, const juce::String& tag, const juce::File& workFolder)
    {
        if (! isContainedRelativePath (rest))
            return refused (entry);

        PlacementStep step;
        step.kind = kind;
        step.root = root;
        step.source = below (workFolder, rest);
        step.target = below (root, rest);
        step.tag = tag;
        step.logLine = moveLine (tag, step.source, step.target);
        return planned (entry, step);
    }

    std::optional<PlannedEntry> planPluginEntry (const juce::String& entry, const FormatSettings& settings,
                                                 const juce::File& workFolder, const juce::File& dataFolder)
    {
        if (entry.startsWith (vst2Placeholder))
        {
            const auto rest = entry.substring (vst2Placeholder.length());

            if (! (entry.endsWithIgnoreCase (".vst") || entry.endsWithIgnoreCase (".dll")) || ! settings.active[PluginFormats::vst2])
                return std::nullopt;

            return planFormatFolderEntry (entry, rest, folderOf (PluginFormats::vst2, settings),
                                          PlacementStep::Kind::file, "1", workFolder);
        }

        if (entry.startsWith (commonFilesPlaceholder))
        {
            const auto rest = entry.substring (commonFilesPlaceholder.length());
            const bool vst3 = entry.endsWithIgnoreCase (".vst3");
            const bool aax = entry.endsWithIgnoreCase (".aaxplugin");
            const auto format = vst3 ? PluginFormats::vst3 : PluginFormats::aax;

            // A .vst3 never lands in the AAX folder, whatever is switched on.
            if (! (vst3 || aax) || ! settings.active[format])
                return std::nullopt;

            return planFormatFolderEntry (entry, rest, folderOf (format, settings),
                                          aax ? PlacementStep::Kind::bundle : PlacementStep::Kind::file, "2", workFolder);
        }

        if (entry.startsWith (commonAppDataPlaceholder))
        {
            const auto rest = entry.substring (commonAppDataPlaceholder.length());

            if (! isContainedRelativePath (rest))
                return refused (entry);

            // The archive holds the files one level higher: the product's own
            // folder (the first component) exists only on the installed side.
            const auto afterLast = entry.fromLastOccurrenceOf (commonAppDataPlaceholder, false, false);
            const auto inArchive = afterLast.fromFirstOccurrenceOf ("/", false, false);

            PlacementStep step;
            step.root = dataFolder;
            step.source = below (workFolder, inArchive);
            step.target = below (dataFolder, rest);
            step.tag = "3";
            return planned (entry, step);
        }

        return refused (entry);
    }

    PlannedEntry planExpansionEntry (const juce::String& entry, const juce::String& parentTitle,
                                     const juce::File& workFolder, const juce::File& dataFolder)
    {
        // The parent's title names one folder; it must not climb or branch.
        if (! isContainedRelativePath (entry) || ! isContainedRelativePath (parentTitle) || pathComponents (parentTitle).size() != 1)
            return refused (entry);

        PlacementStep step;
        step.root = dataFolder.getChildFile (parentTitle);
        step.source = below (workFolder, entry);
        step.target = below (step.root, entry);
        step.tag = "E";
        step.logLine = "expansion file " + entry;
        return planned (entry, step);
    }
}

juce::String unallowedPathMessage (const juce::String& entry)
{
    return "downloadtofile unallowed path: <" + entry + ">";
}

bool isContainedRelativePath (const juce::String& path)
{
    if (path.trim().isEmpty())
        return false;

    // Absolute ("/x", "\x"), UNC ("\\server", "//server") and drive ("C:")
    // forms, and stream names ("x.dll:s"): none has a place in a relative path.
    if (path.startsWithChar ('/') || path.startsWithChar ('\\') || path.containsChar (':'))
        return false;

    // ".." climbs; Windows also drops trailing dots and spaces, so "..." and
    // ".. " would climb there as well.
    for (const auto& part : pathComponents (path))
    {
        const auto bare = part.trim();

        if (bare.length() >= 2 && bare.containsOnly ("."))
            return false;
    }

    return true;
}

std::vector<PlannedEntry> planPlacement (const juce::StringArray& contents,
                                         const juce::String& parentTitle,
                                         const FormatSettings& settings,
                                         const juce::File& workFolder,
                                         const juce::File& dataFolder)
{
    std::vector<PlannedEntry> plan;

    for (const auto& entry : contents)
    {
        if (parentTitle.isNotEmpty())
        {
            plan.push_back (planExpansionEntry (entry, parentTitle, workFolder, dataFolder));
            continue;
        }

        if (auto item = planPluginEntry (entry, settings, workFolder, dataFolder))
            plan.push_back (std::move (*item));
    }

    return plan;
}
