#include "localstate/RowRules.h"

#include "app/log/DiagnosticLog.h"
#include "platform/Locations.h"

namespace
{
    bool isPresent (const juce::File& file)
    {
        return file.getFullPathName().isNotEmpty() && file.exists();
    }
}

std::vector<InstallTarget> makeInstallTargets (const VRCloud::Product& product, const FormatSettings& settings)
{
    std::vector<InstallTarget> targets;

    for (PluginFormat format = 0; format < PluginFormats::pluginFormatCount; ++format)
    {
        if (! settings.active[format])
            continue;

        InstallTarget target;
        target.format = format;

        // This product ships no VST2 build.
        if (! (format == PluginFormats::vst2 && product.name == "lumo"))
        {
            target.file = product.getFormatFile (format, settings);
            target.version = product.localVersions[format];
        }

        targets.push_back (target);
    }

    InstallTarget resources;
    resources.format = PluginFormats::resources;
    resources.file = product.getFormatFile (PluginFormats::resources, settings);
    resources.version = product.localVersions[PluginFormats::resources];
    targets.push_back (resources);

    return targets;
}

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
