#pragma once

#include "localstate/ProductRow.h"
#include "ui/look/MyToggleButton.h"
#include "ui/pages/CellDelegate.h"
#include "ui/pages/MetaView.h"
#include "ui/pages/ProductListRules.h"

#include <atomic>
#include <functional>
#include <vector>

/** One product card (377 x 103). The cell draws its row and state and opens
    its own details; what a click means for the selection is the owner's
    business, told through onClicked. */
class ProductCell final : public juce::Component,
                          public juce::Timer
{
public:
    explicit ProductCell (const ProductRow& row);
    ~ProductCell() override;

    /** What a delayed details close found when it ran. */
    enum class DetailsClose { closed, reopenedSince, cellGone };

    /** The top-right zone that opens the details of an idle plugin cell. */
    bool isInDetailsZone (juce::Point<int> position) const;

    /** Opens or closes the details; an opening closes itself after 5 s. */
    void toggleDetails();

    /** The "User manual" button's click: fetches the product's manual into
        the Documents folder and opens it; the cell itself does not change. */
    void openManual();

    /** A picture load finished (message thread). */
    void picturesLoaded (const juce::Image& icon, const juce::Image& uiImage);

    void mouseMove (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    void resized() override;
    void timerCallback() override;

    /** Shows the job on this cell: progress, phase and the Stop button,
        refreshed every 33 ms until the job is no longer busy. A cell made
        while its product's job runs attaches to the same job again. */
    void attachJob (InstallJobPtr jobToShow);

    /** The job this cell shows, until its ending has been handled. */
    InstallJobPtr attachedJob() const { return job; }

    /** Lets go of the job once its ending has been shown. */
    void detachJob();

    /** The first tick that finds the attached job no longer busy; the cell
        has already stopped its timer and hidden the Stop button. */
    std::function<void (ProductCell&)> onJobEnded;

    /** A right click, with its position in the cell. */
    std::function<void (ProductCell&, juce::Point<int>)> onRightClicked;

    /** A left click outside the details zone. */
    std::function<void (ProductCell&)> onClicked;

    /** Hears every delayed details close, also one that outlives the cell:
        each close keeps the copy it was scheduled with. */
    std::function<void (DetailsClose)> onDelayedDetailsClose;

    ProductRow row;
    CellDelegate* cellDelegate = nullptr;
    ProductListRules::StateCode status = ProductListRules::none;
    std::atomic<bool> busy { false };
    std::atomic<float> progress { 0.0f };
    std::atomic<ProductListRules::InstallPhase> phase { ProductListRules::InstallPhase::waiting };
    ProductListRules::RowKind kind;
    bool selected = false;
    bool allFilesInstalled = false;

    /** Set by the page: staff read both versions of an update. */
    bool staffAccount = false;

    /** The group the table last placed a plugin cell in. */
    ProductListRules::StateCode placedCode = ProductListRules::none;
    bool detailsShown = false;
    int detailsCount = 0;
    int stripeOffset = 0;
    std::vector<InstallTarget> metaTargets;
    MetaView metaView { *this };
    MyToggleButton stopButton, manualButton;

    static constexpr int detailsCloseDelayMs = 5000;

    static constexpr int jobTickMs = 33;

private:
    InstallJobPtr job;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProductCell)
};
