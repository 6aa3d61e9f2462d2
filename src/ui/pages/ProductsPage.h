#pragma once

#include "install/InstallQueue.h"
#include "localstate/ProductRow.h"
#include "ui/look/AnimatedLabel.h"
#include "ui/look/MyTextToggleButton.h"
#include "ui/look/MyToggleButton.h"
#include "ui/pages/CellDelegate.h"
#include "ui/pages/FilterHeader.h"
#include "ui/pages/PictureLoader.h"
#include "ui/pages/ProductCell.h"
#include "ui/pages/ProductListRules.h"
#include "ui/pages/VRPage.h"
#include "ui/pages/VerticalTableView.h"
#include "ui/views/ReleaseNotesComponent.h"

#include <memory>
#include <vector>

/** The signed-in page: the account's products as cells in a scrolling grid,
    grouped by state, with tabs for plugins and expansions, a filter header
    whose buttons jump to a group, and the selection and action row below. */
class ProductsPage final : public VRPage
{
public:
    /** The page's cards keep the page's own name for them. */
    using Cell = ProductCell;

    explicit ProductsPage (CellDelegate* delegate, InstallQueueOptions installOptions = {});
    ~ProductsPage() override;

    void clearList();
    void addRow (const ProductRow& row);
    void buildCells();
    void listBuilt();
    void rebuildList() { table.rebuildList(); }

    /** 0 "Plug-ins", 1 "Expansions". */
    void selectTab (int mode);

    // Selection and actions
    void cellClicked (Cell& cell);
    void deselectAll();
    void selectMatching (MyToggleButton& toggle);
    void updateActionButtons();
    int selectedCount() const;
    Cell* firstSelectedCell() const;

    /** The install button's click: offers the missing expansions of the
        selected plugins first, then installs. */
    void installSelected();

    /** Starts a job for every selected, idle cell. */
    void updateProduct();

    /** The uninstall button's click: one "Uninstall?" dialog per selected
        cell, all shown at once; each "YES" removes that cell's product. */
    void uninstallSelected();

    /** A "YES" to one of the dialogs; selectedCount is how many were asked. */
    void uninstallConfirmed (Cell& cell, int selectedCount);

    /** The key a product's job is kept under. */
    static juce::String jobKey (const ProductRow& row);

    /** The cell showing that product now, or nullptr. */
    Cell* cellFor (const juce::String& productKey) const;

    /** A right click on a cell whose row has release notes: the page's one
        notes panel now shows them, near the click. Notes that are empty
        open nothing and leave an open panel as it is. */
    void openReleaseNotes (Cell& cell, juce::Point<int> clickInCell);

    /** Closes the release-notes popup if one is shown. */
    void closeReleaseNotes();

    void paint (juce::Graphics&) override;
    void paintOverChildren (juce::Graphics&) override;
    bool keyPressed (const juce::KeyPress&) override;
    void resized() override;

    std::vector<std::unique_ptr<Cell>> cells;
    VerticalTableView table;
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

    /** Outlives the cells: a refresh recreates them and they find their jobs here. */
    InstallQueue installQueue;

    static constexpr int activityTickMs = 333;
    static constexpr int refreshAfterJobMs = 1000;
    static constexpr int refreshAfterUninstallMs = 1000;

private:
    /** The filter buttons and select-all toggles follow the table's group counts. */
    void showGroupControls();
    void setToggleOn (MyToggleButton& toggle, bool on);

    /** A cell's job ended: shows its outcome, once. */
    void jobEnded (Cell& cell);

    /** Reads the product's files again once its job has ended. */
    void refreshAfterJob (const juce::String& productKey);

    /** Reads the product's files again once an uninstall removed them. */
    void refreshAfterUninstall (const juce::String& productKey, int selectedCount, const juce::String& shownName);

    void activityChanged();

    /** Set by listBuilt, cleared by the next paint, which logs that the list is on screen. */
    bool listPaintPending = false;
    void toggleClicked (MyToggleButton& toggle);
    ProductListRules::SelectAll selectAllKind (const MyToggleButton& toggle) const;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProductsPage)
};
