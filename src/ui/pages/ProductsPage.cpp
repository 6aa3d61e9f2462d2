#include "ui/pages/ProductsPage.h"

#include "log/DiagnosticLog.h"
#include "cloud/CredentialChecks.h"
#include "cloud/DownloadLocations.h"
#include "install/ProductNameAliases.h"
#include "install/Uninstall.h"
#include "localstate/RowRules.h"
#include "ui/look/Toast.h"
#include "ui/pages/ExpansionOffer.h"
#include "ui/look/AppFonts.h"
#include "ui/look/AppResources.h"
#include "ui/views/ReleaseNotesLayout.h"
#include "platform/Locations.h"

namespace
{
    // Frame pieces are drawn at half their pixel size.
    void drawHalfSize (juce::Graphics& g, const juce::String& name, float x, float y, float width = -1.0f, float height = -1.0f)
    {
        const auto image = AppResources::image (name);

        if (image.isNull())
            return;

        const auto w = width >= 0.0f ? width : (float) image.getWidth() * 0.5f;
        const auto h = height >= 0.0f ? height : (float) image.getHeight() * 0.5f;
        g.drawImage (image, { x, y, w, h }, juce::RectanglePlacement::stretchToFit);
    }
}

//==============================================================================
ProductsPage::ProductsPage (CellDelegate* delegate, InstallQueueOptions installOptions)
    : cellDelegate (delegate), installQueue (std::move (installOptions))
{
    writeLog (delegate != nullptr ? "ProductsPage delegate is VALID" : "ProductsPage delegate is INVALID");

    spinner.colour = juce::Colour (0xffa0a0a0);

    table.onRebuilt = [this]
    {
        showGroupControls();
        resized();
        repaint();
    };

    table.onContentClicked = [this]
    {
        deselectAll();
        updateActionButtons();
        closeReleaseNotes();
    };

    addAndMakeVisible (table);
    addAndMakeVisible (filterHeader);
    filterHeader.delegate = &table;

    pluginsTab.selected = true;
    addAndMakeVisible (pluginsTab);
    addAndMakeVisible (expansionsTab);
    pluginsTab.onClick = [this] { selectTab (0); };
    expansionsTab.onClick = [this] { selectTab (1); };

    installButton.makeFilled ("Install", juce::Colour (0xff4abf48), juce::Colour (0xff091c2a));
    addChildComponent (installButton);
    installButton.onClick = [this] { installSelected(); };
    uninstallButton.makeFilled ("Uninstall", juce::Colour (0xff89939a), juce::Colour (0xffffffff));
    addChildComponent (uninstallButton);
    uninstallButton.onClick = [this] { uninstallSelected(); };

    for (auto* toggle : { &notUpdatedToggle, &notInstalledToggle, &expansionsNotInstalledToggle })
    {
        setToggleOn (*toggle, false);
        toggle->onClick = [this, toggle] { toggleClicked (*toggle); };
    }

    addAndMakeVisible (notUpdatedToggle);
    addAndMakeVisible (notInstalledToggle);
    addChildComponent (expansionsNotInstalledToggle);

    selectedLabel.setFont (appFont (AppFontStyle::regular, 14.0f));
    selectedLabel.setJustificationType (juce::Justification::centredRight);
    addChildComponent (selectedLabel);

    activityLabel.setFont (appFont (AppFontStyle::regular, 12.0f));
    activityLabel.setColour (juce::Label::textColourId, juce::Colour (0xfff0f0f0));
    activityLabel.setJustificationType (juce::Justification::centredLeft);
    addChildComponent (activityLabel);

    setWantsKeyboardFocus (true);
}

ProductsPage::~ProductsPage()
{
    pictures.cancelQueued();
    table.cells.clear();
    cells.clear();
}

void ProductsPage::clearList()
{
    // Loads not yet started are dropped; running ones find no cell afterwards.
    pictures.cancelQueued();

    table.cells.clear();

    for (auto& cell : cells)
        table.content.removeChildComponent (cell.get());

    cells.clear();
    rows.clear();

    for (auto& entry : table.headers)
        entry.second->setVisible (false);

    updateActionButtons();
    showSpinner (true);
}

void ProductsPage::addRow (const ProductRow& row)
{
    rows.push_back (row);
}

void ProductsPage::buildCells()
{
    for (const auto& row : rows)
    {
        auto cell = std::make_unique<Cell> (row);
        cell->cellDelegate = cellDelegate;
        cell->staffAccount = staffAccount;
        cell->onClicked = [this] (Cell& clicked) { cellClicked (clicked); };
        cell->onRightClicked = [this] (Cell& clicked, juce::Point<int> at) { openReleaseNotes (clicked, at); };
        cell->onJobEnded = [this] (Cell& ended) { jobEnded (ended); };
        cell->status = ProductListRules::none;
        cell->selected = false;
        // A job that outlived the cell before this one is shown here again;
        // one that ended meanwhile reports on the first tick.
        if (auto job = installQueue.jobFor (jobKey (row)))
            cell->attachJob (job);

        table.cells.push_back (cell.get());
        table.content.addChildComponent (*cell);

        if (row.icon.isNotEmpty() || row.ui_image.isNotEmpty())
        {
            juce::Component::SafePointer<Cell> target (cell.get());
            pictures.load (row.icon, row.ui_image, [target] (juce::Image icon, juce::Image ui)
            {
                if (auto* c = target.getComponent())
                    c->picturesLoaded (icon, ui);
            });
        }

        cells.push_back (std::move (cell));
    }
}

void ProductsPage::listBuilt()
{
    staffAccount = cellDelegate != nullptr && CredentialChecks::endsWithStaffDomain (cellDelegate->getEmail());

    for (auto& cell : cells)
        cell->staffAccount = staffAccount;

    closeReleaseNotes();
    deselectAll();
    updateActionButtons();
    rebuildList();
    listPaintPending = true;
}

void ProductsPage::selectTab (int mode)
{
    auto& chosen = mode == 0 ? pluginsTab : expansionsTab;

    if (chosen.selected)
        return;

    pluginsTab.selected = mode == 0;
    expansionsTab.selected = mode == 1;
    pluginsTab.repaint();
    expansionsTab.repaint();

    table.mode = mode;
    filterHeader.setMode (mode);
    rebuildList();

    notUpdatedToggle.setVisible (mode == 0);
    notInstalledToggle.setVisible (mode == 0);
    expansionsNotInstalledToggle.setVisible (mode == 1);
    repaint();
}

//==============================================================================
void ProductsPage::showGroupControls()
{
    using namespace ProductListRules;

    auto& plugins = table.pluginCounts;
    filterHeader.notInstalledButton.setVisible (plugins[notInstalled] > 0);
    filterHeader.updatesButton.setVisible (plugins[updateAvailable] > 0);
    filterHeader.installedButton.setVisible (plugins[installed] > 0);
    filterHeader.resized();
    filterHeader.repaint();

    notUpdatedToggle.setEnabled (plugins[updateAvailable] > 0);
    notInstalledToggle.setEnabled (plugins[notInstalled] > 0);
    expansionsNotInstalledToggle.setEnabled (table.expansionCounts[notInstalled] > 0);
}

void ProductsPage::cellClicked (Cell& cell)
{
    closeReleaseNotes();

    const bool wasSelected = cell.selected;

    if (! wasSelected)
        deselectAll();

    cell.selected = ! cell.busy.load() && ! wasSelected;
    updateActionButtons();
    cell.repaint();
}

void ProductsPage::deselectAll()
{
    for (auto& cell : cells)
    {
        if (cell->selected)
        {
            cell->selected = false;
            cell->repaint();
        }
    }
}

ProductListRules::SelectAll ProductsPage::selectAllKind (const MyToggleButton& toggle) const
{
    if (&toggle == &notUpdatedToggle)
        return ProductListRules::SelectAll::notUpdated;

    if (&toggle == &notInstalledToggle)
        return ProductListRules::SelectAll::notInstalledPlugins;

    return ProductListRules::SelectAll::notInstalledExpansions;
}

void ProductsPage::setToggleOn (MyToggleButton& toggle, bool on)
{
    toggle.setToggleState (on, juce::dontSendNotification);
    toggle.filled = on;
    toggle.font = getAppFont (on ? AppFontStyle::regular : AppFontStyle::light);
    toggle.repaint();
}

void ProductsPage::toggleClicked (MyToggleButton& toggle)
{
    const bool on = ! toggle.getToggleState();

    for (auto* other : { &notUpdatedToggle, &notInstalledToggle, &expansionsNotInstalledToggle })
        setToggleOn (*other, other == &toggle && on);

    selectMatching (toggle);
}

void ProductsPage::selectMatching (MyToggleButton& toggle)
{
    const bool on = toggle.getToggleState();
    const auto kindOfToggle = selectAllKind (toggle);

    for (auto& cell : cells)
    {
        cell->selected = on && ProductListRules::matchesSelectAll (kindOfToggle, cell->status, cell->kind == ProductListRules::expansion, cell->row);
        cell->repaint();
    }

    updateActionButtons();
}

int ProductsPage::selectedCount() const
{
    int count = 0;

    for (auto& cell : cells)
        count += cell->selected ? 1 : 0;

    return count;
}

ProductsPage::Cell* ProductsPage::firstSelectedCell() const
{
    for (auto& cell : cells)
        if (cell->selected)
            return cell.get();

    return nullptr;
}

void ProductsPage::updateActionButtons()
{
    auto* first = firstSelectedCell();

    if (first == nullptr)
    {
        installButton.setVisible (false);
        uninstallButton.setVisible (false);
    }
    else
    {
        const auto look = ProductListRules::installButtonFor (first->row, first->allFilesInstalled);

        if (look.visible)
        {
            installButton.makeFilled (look.text, look.fill, look.textColour);
            installButtonWidth = look.width;
        }

        installButton.setVisible (look.visible);
        uninstallButton.setVisible (ProductListRules::uninstallVisibleFor (first->row, first->allFilesInstalled));
    }

    resized();
}

void ProductsPage::openReleaseNotes (Cell& cell, juce::Point<int> clickInCell)
{
    if (cell.row.release_notes.isEmpty())
        return;

    closeReleaseNotes();

    releaseNotesView = std::make_unique<ReleaseNotesComponent> (cell.row.release_notes);
    addAndMakeVisible (*releaseNotesView);
    releaseNotesView->setBounds (ReleaseNotesLayout::panelBounds (cell.getPosition() + clickInCell, table.getViewPositionY(),
                                                                  getWidth(), getHeight()));
    cell.repaint();
}

void ProductsPage::closeReleaseNotes()
{
    if (releaseNotesView != nullptr)
    {
        removeChildComponent (releaseNotesView.get());
        releaseNotesView.reset();
    }
}

//==============================================================================
void ProductsPage::resized()
{
    const auto w = getWidth(), h = getHeight();

    table.setBounds (4, 90, w - 6, h - 134);
    VRPage::resized();
    filterHeader.setBounds (17, 46, w - 34, 42);
    pluginsTab.setBounds (215, 11, 86, 24);
    expansionsTab.setBounds (311, 11, 86, 24);

    const auto y = h - 35;
    notInstalledToggle.setBounds (102, y, 87, 25);
    expansionsNotInstalledToggle.setBounds (102, y, 87, 25);
    notUpdatedToggle.setBounds (296, y, 87, 25);

    auto x = w - 12;

    if (installButton.isVisible())
    {
        installButton.setBounds (x - installButtonWidth, y, installButtonWidth, 24);
        x -= installButtonWidth + 10;
    }

    if (uninstallButton.isVisible())
    {
        uninstallButton.setBounds (x - 88, y, 87, 24);
        x -= 97;
    }

    selectedLabel.setVisible (false);
    const auto count = selectedCount();

    if ((installButton.isVisible() || uninstallButton.isVisible()) && count > 1)
    {
        selectedLabel.setText (juce::String (count) + " selected", juce::dontSendNotification);
        selectedLabel.setBounds (x - 75, h - 29, 80, 14);
        selectedLabel.setColour (juce::Label::textColourId, juce::Colour (0xffe0e6ea));
        selectedLabel.setVisible (true);
    }

    activityLabel.setBounds (610, 16, 150, 15);
}

void ProductsPage::paint (juce::Graphics& g)
{
    const auto w = (float) getWidth(), h = (float) getHeight();

    g.fillAll (juce::Colour (0xff3d4d58));
    g.setColour (juce::Colour (0xff091c2a));
    g.fillRoundedRectangle (12.0f, 44.0f, w - 24.0f, h - 88.0f, 6.0f);

    drawHalfSize (g, "U-left_corner.png", 3, 35);
    const auto upper = AppResources::image ("upper_frame_edge.png");
    drawHalfSize (g, "upper_frame_edge.png", 21, 35, w - 42, (float) upper.getHeight() * 0.5f);
    drawHalfSize (g, "U-right_corner.png", w - 21, 35);
    const auto left = AppResources::image ("left_frame_edge.png");
    drawHalfSize (g, "left_frame_edge.png", 3, 53, (float) left.getWidth() * 0.5f, h - 106);

    g.drawImage (AppResources::image ("logo_vamrel@2x.png"), { 14.0f, 13.0f, 80.0f, 16.0f }, juce::RectanglePlacement::stretchToFit);

    g.setColour (juce::Colour (0xff89939a));
    g.setFont (appFont (AppFontStyle::light, 14.0f));
    g.drawText ("Helper v" + juce::String (VAMRHELPER_VERSION_STRING), juce::Rectangle<int> (104, 19, 120, 12), juce::Justification::topLeft, false);

    g.setColour (juce::Colour (0xffe0e6ea));
    g.setFont (appFont (AppFontStyle::semiBold, 19.0f));
    g.drawText ("Select All:", juce::Rectangle<int> (10, getHeight() - 30, 80, 14), juce::Justification::topRight, false);
}

void ProductsPage::paintOverChildren (juce::Graphics& g)
{
    const auto w = (float) getWidth(), h = (float) getHeight();

    drawHalfSize (g, "B-left_corner.png", 3, h - 53);
    const auto bottom = AppResources::image ("bottom_frame_edge.png");
    drawHalfSize (g, "bottom_frame_edge.png", 21, h - 53, w - 42, (float) bottom.getHeight() * 0.5f);

    const auto corner = AppResources::image ("B-right_corner_filled.png");

    if (corner.isValid())
        g.drawImage (corner, (int) (w - 21), (int) (h - 53), 12, corner.getHeight() / 2,
                     0, 0, juce::jmin (24, corner.getWidth()), corner.getHeight());

    const auto right = AppResources::image ("right_frame_edge.png");
    drawHalfSize (g, "right_frame_edge.png", w - 21, 53, (float) right.getWidth() * 0.5f, h - 106);

    // The end-to-end test and the start-up benchmark wait for this line: a
    // new list has reached the screen.
    if (listPaintPending)
    {
        listPaintPending = false;
        writeLog ("extralog, products page painted: " + juce::String ((int) rows.size()) + " rows");
    }
}

bool ProductsPage::keyPressed (const juce::KeyPress&)
{
    closeReleaseNotes();
    return true;
}

//==============================================================================
juce::String ProductsPage::jobKey (const ProductRow& row)
{
    return InstallQueue::keyFor (row);
}

ProductsPage::Cell* ProductsPage::cellFor (const juce::String& productKey) const
{
    for (auto& cell : cells)
        if (jobKey (cell->row) == productKey)
            return cell.get();

    return nullptr;
}

void ProductsPage::installSelected()
{
    std::vector<ExpansionOffer::Candidate> candidates;

    for (auto& cell : cells)
    {
        ExpansionOffer::Candidate candidate;
        candidate.selected = cell->selected;
        candidate.busy = cell->busy.load();
        candidate.hasDelegate = cell->cellDelegate != nullptr;
        candidate.isExpansion = cell->kind == ProductListRules::expansion;
        candidate.name = cell->row.name;
        candidate.parentName = cell->row.parentName;
        candidate.title = cell->row.title;
        candidate.allFilesInstalled = candidate.isExpansion && checkExtensionAllfilesInstalled (cell->row);
        candidates.push_back (candidate);
    }

    const auto offer = ExpansionOffer::find (candidates);

    if (offer.plugins.empty())
    {
        updateProduct();
        return;
    }

    juce::StringArray pluginTitles;

    for (auto index : offer.plugins)
        pluginTitles.add (candidates[index].title);

    auto* dialog = Toast::showDialog (ExpansionOffer::title (offer.expansions.size(), offer.plugins.size()),
                                      ExpansionOffer::message (pluginTitles), "YES", "NO", this);

    if (dialog == nullptr)
    {
        updateProduct();
        return;
    }

    // The list may be rebuilt while the dialog is open: the expansions are
    // found again by product when the answer comes.
    juce::StringArray expansionKeys;

    for (auto index : offer.expansions)
        expansionKeys.add (jobKey (cells[index]->row));

    juce::Component::SafePointer<ProductsPage> page (this);

    dialog->onResult = [page, expansionKeys] (int result)
    {
        auto* self = page.getComponent();

        if (self == nullptr)
            return;

        if (result == 1)
        {
            for (const auto& key : expansionKeys)
            {
                if (auto* cell = self->cellFor (key))
                {
                    cell->selected = ! cell->busy.load();
                    cell->repaint();
                }
            }
        }

        self->updateProduct();
    };
}

void ProductsPage::updateProduct()
{
    // Cells may be added to the list by nothing here, but the download-address
    // requests block, so walk a snapshot of the list.
    std::vector<juce::Component::SafePointer<Cell>> snapshot;

    for (auto& cell : cells)
        snapshot.emplace_back (cell.get());

    for (auto& pointer : snapshot)
    {
        auto* cell = pointer.getComponent();

        if (cell == nullptr || ! cell->selected || cell->cellDelegate == nullptr || cell->busy.load())
            continue;

        const auto& row = cell->row;
        const bool isExpansion = cell->kind == ProductListRules::expansion;

        cell->selected = false;
        cell->busy = true;
        cell->status = ProductListRules::installing;
        cell->stopButton.setVisible (true);
        cell->repaint();

        const auto token = cell->cellDelegate->getToken();
        const auto requestName = isExpansion ? row.name : ProductNameAliases::downloadRequestName (row.local_key_name);
        const auto url = VRCloud::getPluginResourceURL (requestName, token, versionToText (row.version), row.build, isExpansion);
        writeLog ("getPluginResourceURL url = " + url);

        if (cell != pointer.getComponent())
            continue;

        if (url.isEmpty())
        {
            cell->busy = false;
            cell->stopButton.setVisible (false);
            updateActionButtons();
            rebuildList();
            Toast::showDialog (requestName, "Something went wrong when trying to download product", "OK", {}, this);
            continue;
        }

        updateActionButtons();
        rebuildList();

        InstallRequest request;
        request.url = juce::URL (url);
        request.contents = row.contents;
        request.parentTitle = isExpansion ? row.parentTitle : juce::String();
        request.title = row.title;
        request.settings = cell->cellDelegate->getFormatSettings();
        request.expectedSize = row.filesize;
        request.expectedSha256 = row.sha256;

        const auto key = jobKey (row);
        juce::Component::SafePointer<ProductsPage> page (this);

        auto job = installQueue.start (key, request, [page, key] (bool ok, bool, const juce::String&)
        {
            writeLog ("updateProduct onDownloadAndInstallCompletion result = " + juce::String (ok ? "1" : "0"));

            juce::MessageManager::callAsync ([page, key]
            {
                juce::Timer::callAfterDelay (refreshAfterJobMs, [page, key]
                {
                    if (auto* self = page.getComponent())
                        self->refreshAfterJob (key);
                });
            });
        });

        if (job == nullptr)
            continue;

        cell->attachJob (job);
        activityChanged();
    }
}

void ProductsPage::activityChanged()
{
    activityLabel.activeCount = installQueue.size();

    if (activityLabel.activeCount > 0)
    {
        if (! activityLabel.isTimerRunning())
        {
            activityLabel.timerCallback();
            activityLabel.startTimer (activityTickMs);
        }

        activityLabel.setVisible (true);
    }
    else
    {
        activityLabel.stopTimer();
        activityLabel.setVisible (false);
    }
}

void ProductsPage::jobEnded (Cell& cell)
{
    const auto key = jobKey (cell.row);
    const auto outcome = installQueue.takeOutcome (key);
    cell.detachJob();

    // Another cell of the same product already showed this ending.
    if (! outcome.has_value())
        return;

    activityChanged();

    const auto displayName = ProductNameAliases::displayName (cell.row.title);

    if (! outcome->ok)
    {
        writeLog ("Install error (" + displayName + ") " + outcome->message);
        Toast::showDialog (displayName, "Install error: " + outcome->message, "OK", {}, this);
        return;
    }

    if (outcome->stopped)
        return;

    if (cellDelegate != nullptr)
        cellDelegate->setLocalBuild (cell.row.title, cell.row.local_key_name, cell.row.build);

    cell.row.installedBuild = cell.row.build;

    // With other jobs still running, only errors are shown.
    if (installQueue.size() == 0)
    {
        if (outcome->message.isEmpty())
            Toast::showMessage (displayName, "Installation complete!", this);
        else
            Toast::showDialog (displayName, "Install error: " + outcome->message, "OK", {}, this);
    }
}

void ProductsPage::refreshAfterJob (const juce::String& productKey)
{
    auto* cell = cellFor (productKey);

    if (cell == nullptr)
        return;

    rereadTargetVersions (cell->row);

    if (cell->kind == ProductListRules::expansion)
        cell->allFilesInstalled = checkExtensionAllfilesInstalled (cell->row);

    updateActionButtons();
    rebuildList();
    cell->resized();
    cell->repaint();
}

//==============================================================================
void ProductsPage::uninstallSelected()
{
    std::vector<juce::Component::SafePointer<Cell>> chosen;

    for (auto& cell : cells)
        if (cell->selected)
            chosen.emplace_back (cell.get());

    const auto count = (int) chosen.size();
    juce::Component::SafePointer<ProductsPage> page (this);

    for (auto& pointer : chosen)
    {
        auto* dialog = Toast::showDialog (pointer->row.title, "Uninstall?", "YES", "NO", this);

        if (dialog == nullptr)
            continue;

        // A list refresh while the dialog is open recreates every cell: an
        // answer then finds its cell gone and removes nothing, since the
        // user confirmed a card that is no longer on screen.
        const auto title = pointer->row.title;

        dialog->onResult = [page, pointer, count, title] (int result)
        {
            if (result != 1)
                return;

            auto* self = page.getComponent();
            auto* cell = pointer.getComponent();

            if (self == nullptr || cell == nullptr)
            {
                writeLog ("uninstall answer dropped, the list changed meanwhile: " + title);
                return;
            }

            self->uninstallConfirmed (*cell, count);
        };
    }
}

void ProductsPage::uninstallConfirmed (Cell& cell, int count)
{
    cell.selected = false;
    cell.repaint();

    if (cell.cellDelegate == nullptr)
        return;

    const auto& row = cell.row;

    if (! Uninstall::uninstallRow (row, cell.cellDelegate->getFormatSettings(), Locations::dataFolder(), &installQueue))
    {
        updateActionButtons();
        return;
    }

    if (cell.kind == ProductListRules::expansion)
        cell.allFilesInstalled = checkExtensionAllfilesInstalled (row);

    const auto key = jobKey (row);
    const auto shownName = Uninstall::nameFor (row);
    juce::Component::SafePointer<ProductsPage> page (this);

    juce::Timer::callAfterDelay (refreshAfterUninstallMs, [page, key, count, shownName]
    {
        if (auto* self = page.getComponent())
            self->refreshAfterUninstall (key, count, shownName);
    });
}

void ProductsPage::refreshAfterUninstall (const juce::String& productKey, int count, const juce::String& shownName)
{
    if (auto* cell = cellFor (productKey))
    {
        rereadTargetVersions (cell->row);
        updateActionButtons();
        showGroupControls();
        rebuildList();
        cell->resized();
        cell->repaint();
    }

    // With several products confirmed at once, the emptied cells say enough.
    if (count == 1)
    {
        Toast::showMessage (shownName, "Uninstalled", this);
        updateActionButtons();
    }
}
