#include "localstate/RowRules.h"

#include "localstate/FilePresence.h"
#include "log/DiagnosticLog.h"
#include "platform/FileVersion.h"
#include "platform/Locations.h"

bool isInstalled (const ProductRow& row)
{
    for (const auto& target : row.targets)
        if (target.format != PluginFormats::resources && isPresent (target.file))
            return true;

    return false;
}

bool needsUpdate (const ProductRow& row)
{
    if (! isInstalled (row))
        return false;

    for (const auto& target : row.targets)
        if (target.format != PluginFormats::resources
             && row.offersFormat (target.format)
             && target.version.isValid()
             && target.version < row.version)
            return true;

    // Pre-release groups also move on when the build changes under the same version.
    return row.build_group.toLowerCase() != "public" && row.installedBuild != row.build;
}

bool allOfferedFormatsInstalled (const ProductRow& row)
{
    for (const auto& target : row.targets)
        if (target.format != PluginFormats::resources
             && row.offersFormat (target.format)
             && ! isPresent (target.file))
            return false;

    return true;
}

juce::String installedVersionText (const ProductRow& row, bool withBuild)
{
    const VersionNumber* lowest = nullptr;

    for (size_t i = 0; i < row.targets.size(); ++i)
    {
        const auto& target = row.targets[i];

        if (i > 0 && target.format == PluginFormats::resources)
            continue;

        if (target.version.isValid() && (lowest == nullptr || target.version < *lowest))
            lowest = &target.version;
    }

    const VersionNumber fallback { 0, 1, 0, 0 };
    auto text = "v" + versionToText (lowest != nullptr ? *lowest : fallback);

    if (withBuild)
        text << "(" << row.installedBuild << ")";

    return text;
}

bool checkExtensionAllfilesInstalled (const ProductRow& row)
{
    if (row.parentTitle.isEmpty() || row.contents.isEmpty())
        return false;

    const auto parentFolder = Locations::dataFolder().getChildFile (row.parentTitle);

    for (const auto& entry : row.contents)
    {
        // Entries use "/"; each piece becomes one step below the parent's
        // folder, which is the backslash path on Windows.
        auto path = parentFolder;

        for (const auto& piece : juce::StringArray::fromTokens (entry.replaceCharacter ('/', '\\'), "\\", {}))
            path = path.getChildFile (piece);

        if (! path.exists())
        {
            writeLog ("checkExtensionAllfilesInstalled NOT installed: " + row.title);
            return false;
        }

        writeLog ("   destpath " + path.getFullPathName());
    }

    writeLog ("checkExtensionAllfilesInstalled IS installed: " + row.title);
    return true;
}

void rereadTargetVersions (ProductRow& row)
{
    for (auto& target : row.targets)
        target.version = parseVersion (readFileVersion (target.file));
}
