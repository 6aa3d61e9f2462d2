#pragma once

#include "install/InstallJob.h"
#include "localstate/ProductRow.h"

/** The products page's decisions that need no component: state codes,
    group layout arithmetic, select-all matching and the action buttons. */
namespace ProductListRules
{
    enum StateCode
    {
        none = 0,
        notInstalled = 1,
        updateAvailable = 2,
        installed = 3,
        installing = 20
    };

    /** What a row is; an expansion comes as the category "extension". */
    enum RowKind
    {
        instrument = 0,
        effect = 1,
        expansion = 2
    };

    /** Where an install job is: the job record's own phase. */
    using InstallPhase = ::InstallPhase;

    /** The kind of a catalogue category; any unknown category is an instrument. */
    RowKind kindOf (const juce::String& category);

    /** The group a row belongs in. allFilesInstalled is only read for expansions. */
    StateCode stateCode (const ProductRow& row, bool busy, bool allFilesInstalled);

    /** How many cells fit side by side in a table of that width (at least 1). */
    int columnsForWidth (int tableWidth);

    /** Bounds of the cell in a column, at the given top. */
    juce::Rectangle<int> cellBounds (int column, int top);

    inline constexpr int cellWidth = 377, cellHeight = 103, rowGap = 10;

    /** The group header texts. */
    struct GroupText
    {
        juce::String title, subtitle;
        juce::Colour colour;
    };

    /** mode 0 plugins, 1 expansions. */
    GroupText groupText (int mode, int code, int count);

    /** Some target, resources included, has an existing file. */
    bool anyFormatInstalled (const ProductRow& row);

    /** Some offered plugin format has its file. */
    bool anyOfferedFormatInstalled (const ProductRow& row);

    /** Some plugin format (AAX, VST, VST3) is listed in the row's formats. */
    bool offersAnyPluginFormat (const ProductRow& row);

    enum class SelectAll { notUpdated, notInstalledPlugins, notInstalledExpansions };

    bool matchesSelectAll (SelectAll toggle, int status, bool isExpansion, const ProductRow& row);

    /** The install button for the first selected cell. */
    struct InstallButtonLook
    {
        bool visible = false;
        juce::String text;
        int width = 87;
        juce::Colour fill, textColour { 0xff091c2a };
    };

    InstallButtonLook installButtonFor (const ProductRow& row, bool allFilesInstalled);

    bool uninstallVisibleFor (const ProductRow& row, bool allFilesInstalled);

    /** Share of the progress bar's width: 0 while waiting, 3 % to 90.3 %
        while downloading, then on to 100 % while installing. */
    float progressFraction (InstallPhase phase, float progress);

    /** The stripes' width in pixels for a cell of width W. */
    int progressBarWidth (int cellWidthInPixels, InstallPhase phase, float progress);

    /** A plugin cell shows its formats' dots coloured once it sits in a
        settled group (not installed, update, installed), not while installing. */
    bool showsFileDots (int placedCode);
}
