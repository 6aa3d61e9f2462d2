#pragma once

#include "ui/pages/CellDelegate.h"
#include "localstate/ProductRow.h"
#include "ui/look/AnimatedLabel.h"
#include "ui/look/MyTextToggleButton.h"
#include "ui/look/MyToggleButton.h"
#include "ui/look/PressTracking.h"
#include "ui/pages/PictureLoader.h"
#include "ui/pages/ProductListRules.h"
#include "ui/pages/VRPage.h"

#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <vector>

/** The signed-in page: the account's products as cells in a scrolling grid,
    grouped by state, with tabs for plugins and expansions, a filter header
    whose buttons jump to a group, and the selection and action row below. */
class ProductsPage : public VRPage
{
public:
    class Cell;

    /** The details panel of a plugin cell: one dot and label per offered format. */
    class MetaView : public juce::Component
    {
    public:
        explicit MetaView (Cell& owner);
        void paint (juce::Graphics&) override;

    private:
        Cell& cell;
    };

    /** One product card (377 x 103). */
    class Cell : public juce::Component,
                 public juce::Timer
    {
    public:
        Cell (const ProductRow& row, ProductsPage& page);
        ~Cell() override;

        /** The top-right zone that opens the details of an idle plugin cell. */
        bool isInDetailsZone (juce::Point<int> position) const;

        /** Opens or closes the details; an opening closes itself after 5 s. */
        void toggleDetails();

        /** A picture load finished (message thread). */
        void picturesLoaded (const juce::Image& icon, const juce::Image& uiImage);

        void mouseMove (const juce::MouseEvent&) override;
        void mouseDown (const juce::MouseEvent&) override;
        void paint (juce::Graphics&) override;
        void resized() override;
        void timerCallback() override;

        ProductRow row;
        ProductsPage& page;
        CellDelegate* cellDelegate = nullptr;
        int status = 0;
        std::atomic<bool> busy { false };
        std::atomic<float> progress { 0.0f };
        std::atomic<int> phase { 0 };
        int kind = 0;
        bool selected = false;
        bool allFilesInstalled = false;
        int placedCode = 0;
        bool detailsShown = false;
        int detailsCount = 0;
        int stripeOffset = 0;
        std::vector<InstallTarget> metaTargets;
        MetaView metaView { *this };
        MyToggleButton stopButton, manualButton;

        static constexpr int detailsCloseDelayMs = 5000;

    private:
        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Cell)
    };

    class FilterHeaderDelegate
    {
    public:
        virtual ~FilterHeaderDelegate() = default;
        virtual void filterChosen (int groupId) = 0;
    };

    class myContentDelegate
    {
    public:
        virtual ~myContentDelegate() = default;
        virtual void contentClicked() = 0;
    };

    class FilterHeaderButton : public PressTracking<juce::TextButton>
    {
    public:
        FilterHeaderButton (const juce::String& text, juce::Colour normal, juce::Colour hover);

        juce::Colour plateColour() const;

        void paint (juce::Graphics&) override;

        juce::String text;
        juce::Colour normalColour, hoverColour, downColour;
    };

    class FilterHeader : public juce::Component
    {
    public:
        FilterHeader();

        void setMode (int newMode);
        void paint (juce::Graphics&) override;
        void resized() override;

        juce::Label title;
        int mode = 0;
        float lineEnd = 0.0f;
        FilterHeaderButton notInstalledButton { "NOT INSTALLED", juce::Colour (0xff97a1a8), juce::Colour (0xffb1c2cd) };
        FilterHeaderButton updatesButton { "UPDATES", juce::Colour (0xfffbd53d), juce::Colour (0xffffe16a) };
        FilterHeaderButton installedButton { "INSTALLED", juce::Colour (0xff4bbf49), juce::Colour (0xff75e174) };
        FilterHeaderDelegate* delegate = nullptr;

        /** The buttons with their group ids, in order. */
        std::array<std::pair<FilterHeaderButton*, int>, 3> buttons() { return { { { &notInstalledButton, 1 }, { &updatesButton, 2 }, { &installedButton, 3 } } }; }
    };

    /** A group header: the title in the group colour, then the subtitle. */
    class AttrLabel : public juce::Component
    {
    public:
        AttrLabel();
        void setTexts (const juce::String& titleText, const juce::String& subtitleText, juce::Colour colour);
        void paint (juce::Graphics&) override;

        juce::AttributedString title, subtitle;
        juce::String titleText, subtitleText;
        int titleWidth = 0;
    };

    class myContent : public juce::Component
    {
    public:
        void mouseDown (const juce::MouseEvent&) override;
        myContentDelegate* delegate = nullptr;
    };

    class VerticalTableView : public juce::Viewport,
                              public myContentDelegate,
                              public FilterHeaderDelegate
    {
    public:
        explicit VerticalTableView (ProductsPage& owner);

        /** Recomputes every cell's state code and lays the groups out. */
        void rebuildList();

        /** The header of a group (1, 2, 3 or 20), if it is shown. */
        AttrLabel* headerFor (int code);

        void filterChosen (int groupId) override;
        void contentClicked() override;
        void resized() override;

        myContent content;
        std::map<int, std::unique_ptr<AttrLabel>> headers;   // by state code
        std::vector<Cell*> cells;
        int mode = 0;
        int contentHeight = 77;
        int cellHeight = ProductListRules::cellHeight;
        int rowGap = ProductListRules::rowGap;
        int column = 0;
        ProductsPage& page;

        /** Plugins per code (20, 1, 2, 3) and expansions per code (1, 3). */
        std::map<int, int> pluginCounts, expansionCounts;

    private:
        void layOutGroup (int code, const ProductListRules::GroupText& text, int columns);
    };

    explicit ProductsPage (CellDelegate* delegate);
    ~ProductsPage() override;

    void clearList();
    void addRow (const ProductRow& row);
    void buildCells();
    void listBuilt();
    void rebuildList() { table.rebuildList(); }

    /** 0 "Plug-ins", 1 "Expansions". */
    void selectTab (int mode);

    // Selection and actions
    void cellClicked (Cell& cell, const juce::MouseEvent&);
    void deselectAll();
    void selectMatching (MyToggleButton& toggle);
    void updateActionButtons();
    int selectedCount() const;
    Cell* firstSelectedCell() const;

    /** Closes the release-notes popup if one is shown. */
    void closeReleaseNotes();

    void paint (juce::Graphics&) override;
    void paintOverChildren (juce::Graphics&) override;
    bool keyPressed (const juce::KeyPress&) override;
    void resized() override;

    std::vector<std::unique_ptr<Cell>> cells;
    VerticalTableView table { *this };
    FilterHeader filterHeader;
    MyTextToggleButton pluginsTab { "Plug-ins" }, expansionsTab { "Expansions" };
    CellDelegate* cellDelegate = nullptr;
    MyToggleButton installButton, uninstallButton;
    MyToggleButton notUpdatedToggle { "Not Updated" }, notInstalledToggle { "Not Installed" },
                   expansionsNotInstalledToggle { "Not Installed" };
    juce::Label selectedLabel;
    AnimatedLabel activityLabel;
    std::vector<ProductRow> rows;
    bool staffAccount = false;
    std::unique_ptr<juce::Component> releaseNotesView;
    PictureLoader pictures;
    int installButtonWidth = 87;

private:
    void setToggleOn (MyToggleButton& toggle, bool on);

    /** Set by listBuilt, cleared by the next paint, which logs that the list is on screen. */
    bool listPaintPending = false;
    void toggleClicked (MyToggleButton& toggle);
    ProductListRules::SelectAll selectAllKind (const MyToggleButton& toggle) const;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProductsPage)
};
