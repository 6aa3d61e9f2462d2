#include "ui/pages/ProductListRules.h"

#include "localstate/FilePresence.h"
#include "localstate/RowRules.h"

namespace ProductListRules
{
    RowKind kindOf (const juce::String& category)
    {
        if (category == "effect")
            return effect;

        if (category == "extension")
            return expansion;

        return instrument;
    }

    StateCode stateCode (const ProductRow& row, bool busy, bool allFilesInstalled)
    {
        if (row.isExpansion())
            return allFilesInstalled ? installed : notInstalled;

        if (busy)
            return installing;

        if (needsUpdate (row))
            return updateAvailable;

        if (allOfferedFormatsInstalled (row))
            return installed;

        return notInstalled;
    }

    int columnsForWidth (int tableWidth)
    {
        return juce::jmax (1, (tableWidth + 137) / 392);
    }

    juce::Rectangle<int> cellBounds (int column, int top)
    {
        return { column * 390 + 22, top, cellWidth, cellHeight };
    }

    GroupText groupText (int mode, int code, int count)
    {
        const auto counted = "(" + juce::String (count) + ")";
        const juce::Colour grey (0xff97a1a8), yellow (0xfffbd53d), green (0xff4bbf49);

        if (mode == 1)
        {
            if (code == notInstalled)
                return { "Not installed", {}, grey };

            return { "Installed expansions", {}, green };
        }

        switch (code)
        {
            case installing:      return { "Installing", counted + " Keep this app open until completed", green };
            case notInstalled:    return { "Not installed", counted + " Owned plugins, but not installed on this computer", grey };
            case updateAvailable: return { "Update available", counted + " Installed plugins with an available update", yellow };
            default:              return { "Installed", counted + " Installed plugins that are up to date", green };
        }
    }

    bool anyFormatInstalled (const ProductRow& row)
    {
        for (const auto& target : row.targets)
            if (isPresent (target.file))
                return true;

        return false;
    }

    bool anyOfferedFormatInstalled (const ProductRow& row)
    {
        for (const auto& target : row.targets)
            if (target.format != PluginFormats::resources && row.offersFormat (target.format) && isPresent (target.file))
                return true;

        return false;
    }

    bool offersAnyPluginFormat (const ProductRow& row)
    {
        for (PluginFormat format = 0; format < PluginFormats::pluginFormatCount; ++format)
            if (row.offersFormat (format))
                return true;

        return false;
    }

    bool matchesSelectAll (SelectAll toggle, int status, bool isExpansion, const ProductRow& row)
    {
        switch (toggle)
        {
            case SelectAll::notUpdated:             return status == updateAvailable && ! isExpansion;
            case SelectAll::notInstalledPlugins:    return status == notInstalled && ! isExpansion;
            case SelectAll::notInstalledExpansions:
                // Expansions usually offer only resources, which the format
                // test passes vacuously; their missing files (status 1) decide.
                return status == notInstalled && isExpansion
                        && (! offersAnyPluginFormat (row) || ! allOfferedFormatsInstalled (row));
        }

        return false;
    }

    InstallButtonLook installButtonFor (const ProductRow& row, bool allFilesInstalled)
    {
        InstallButtonLook look;

        if (! row.isExpansion() && allOfferedFormatsInstalled (row))
        {
            // Unlike needsUpdate, any older plugin file counts, offered or not.
            bool older = false;

            for (const auto& target : row.targets)
                if (target.format != PluginFormats::resources && target.version.isValid() && target.version < row.version)
                    older = true;

            const bool otherBuild = ! older
                                     && row.build_group.toLowerCase() != "public"
                                     && row.installedBuild != row.build;

            if (older || otherBuild)
            {
                look.visible = true;
                look.text = "Update";
                look.width = 87;
                look.fill = juce::Colour (0xfffbd53e);
            }

            return look;
        }

        if (row.isExpansion() && allFilesInstalled)
            return look;

        look.visible = true;
        look.fill = juce::Colour (0xff4abf48);

        if (! row.isExpansion() && anyOfferedFormatInstalled (row))
        {
            look.text = "Complete installation";
            look.width = 130;
        }
        else
        {
            look.text = "Install";
            look.width = 87;
        }

        return look;
    }

    bool uninstallVisibleFor (const ProductRow& row, bool allFilesInstalled)
    {
        return row.isExpansion() ? allFilesInstalled : anyFormatInstalled (row);
    }

    float progressFraction (InstallPhase phase, float progress)
    {
        if (phase == InstallPhase::downloading)
            return 0.03f + 0.873f * progress;

        if (phase == InstallPhase::installing)
            return 0.903f + 0.097f * progress;

        return 0.0f;
    }

    int progressBarWidth (int cellWidthInPixels, InstallPhase phase, float progress)
    {
        return (int) ((float) (cellWidthInPixels - 4) * progressFraction (phase, progress));
    }

    bool showsFileDots (int placedCode)
    {
        // Settled groups are numbered below 10, the busy ones from 20.
        return placedCode >= notInstalled && placedCode <= 9;
    }
}
