#include "ui/pages/SettingsPage.h"

#include "cloud/DownloadLocations.h"
#include "cloud/ForcedUpdate.h"
#include "cloud/ServiceConfig.h"
#include "log/DiagnosticLog.h"
#include "ui/look/AppFonts.h"
#include "ui/look/AppResources.h"
#include "ui/look/Toast.h"
#include "ui/pages/SettingsRules.h"

namespace
{
    const juce::Colour panelColour (0xff091c2a);
    const juce::Colour lightText (0xffdfe6ea);
    const juce::Colour fieldText (0xffe0e6ea);
    const juce::Colour outlineGrey (0xff7b8a90);
    const juce::Colour fieldFill (0x0ffd171b);
    const juce::Colour installBlue (0xff0196ff);
    const juce::Colour uninstallRed (0xfff54c4c);
    const juce::Colour doneGreen (0xff4abf48);

    void styleSwitch (juce::ToggleButton& toggle)
    {
        toggle.setButtonText (" ");
        toggle.setClickingTogglesState (true);
        toggle.setColour (juce::ToggleButton::textColourId, fieldText);
        toggle.setColour (juce::ToggleButton::tickDisabledColourId, outlineGrey);
    }

    void styleField (juce::TextEditor& field)
    {
        field.setColour (juce::TextEditor::textColourId, fieldText);
        field.setColour (juce::TextEditor::outlineColourId, outlineGrey);
        field.setColour (juce::TextEditor::focusedOutlineColourId, outlineGrey);
        field.setColour (juce::TextEditor::backgroundColourId, fieldFill);
        field.setFont (getAppFont (AppFontStyle::regular).withHeight (14.0f));
        field.setMultiLine (false);
        field.setReturnKeyStartsNewLine (false);
    }

    void setTabLook (MyToggleButton& tab, bool selected, juce::Colour selectedFill)
    {
        tab.filled = selected;
        tab.fillColour = selected ? selectedFill : juce::Colour (0xffe0e6ea);
        tab.textOnFillColour = juce::Colours::white;
        tab.font = getAppFont (selected ? AppFontStyle::regular : AppFontStyle::light);
        tab.repaint();
    }
}

SettingsPage::SettingsPage (SettingsPageDelegate* pageDelegate, FormatSettings* settings, bool staff,
                            bool storedUseTestUrl, const juce::String& storedTestUrl)
    : staffMode (staff),
      useTestUrl (storedUseTestUrl),
      testUrl (storedTestUrl),
      delegate (pageDelegate),
      formatSettings (settings)
{
    jassert (delegate != nullptr && formatSettings != nullptr);

    if (staffMode)
    {
        panelHeight = staffHeight;
        staffOffset = staffExtra;
    }

    reloadButton.image = AppResources::image ("btn_reload@x2.png");
    addAndMakeVisible (reloadButton);
    reloadButton.onClick = [this] { reloadPressed(); };

    addAndMakeVisible (logoutButton);
    logoutButton.onClick = [this] { logoutPressed(); };

    addChildComponent (updateButton);
    updateButton.setVisible (staffMode);
    updateButton.onClick = [this] { updatePressed(); };

    addAndMakeVisible (installTab);
    installTab.onClick = [this] { showInstallSection(); };
    addAndMakeVisible (uninstallTab);
    uninstallTab.onClick = [this] { showUninstallSection(); };

    doneButton.makeFilled ("Done", doneGreen, panelColour);
    addAndMakeVisible (doneButton);
    doneButton.onClick = [this] { donePressed(); };

    wipeButton.textColour = uninstallRed;
    wipeButton.fillColour = uninstallRed;
    addChildComponent (wipeButton);
    wipeButton.onClick = [this] { wipePressed(); };

    for (PluginFormat format = 0; format < PluginFormats::pluginFormatCount; ++format)
    {
        auto& toggle = formatSwitches[(size_t) format];
        styleSwitch (toggle);
        toggle.setToggleState (formatSettings->active[format], juce::dontSendNotification);
        toggle.onClick = [this, format]
        {
            formatSettings->active[format] = formatSwitches[(size_t) format].getToggleState();
            changed = true;
        };
        addAndMakeVisible (toggle);
    }

    for (int row = 0; row < folderRowCount; ++row)
    {
        const auto format = formatOfFolderRow (row);
        auto& field = folderFields[(size_t) row];
        styleField (field);
        field.setText (formatSettings->path[format], false);
        field.onTextChange = [this] { changed = true; };
        field.onReturnKey = [this, format]
        {
            applyFolderField (format);

            if (! pathInfoShown)
                showPathInfo();
        };
        addAndMakeVisible (field);

        auto& chooser = folderChoosers[(size_t) row];
        chooser.setButtonText ("...");
        chooser.setColour (juce::TextButton::textColourOffId, fieldText);
        chooser.setColour (juce::TextButton::textColourOnId, fieldText);
        chooser.setColour (juce::TextButton::buttonColourId, fieldFill);
        chooser.setColour (juce::ComboBox::outlineColourId, outlineGrey);
        chooser.onClick = [this, format] { openFolderChooser (format); };
        addAndMakeVisible (chooser);
    }

    styleSwitch (testServerSwitch);
    testServerSwitch.setToggleState (useTestUrl, juce::dontSendNotification);
    testServerSwitch.onClick = [this] { useTestUrl = testServerSwitch.getToggleState(); };
    addChildComponent (testServerSwitch);

    styleField (testServerField);
    testServerField.setText (testUrl, false);
    testServerField.onReturnKey = [this] { applyTestServerField(); };
    addChildComponent (testServerField);

    testServerSwitch.setVisible (staffMode);
    testServerField.setVisible (staffMode);

    addChildComponent (installedList);

    chooseFolder = [this] (const juce::File& start, std::function<void (const juce::File&)> chosen)
    {
        fileChooser = std::make_unique<juce::FileChooser> ("Choose a folder", start);
        fileChooser->launchAsync (juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectDirectories,
                                  [chosen] (const juce::FileChooser& dialog)
                                  {
                                      const auto result = dialog.getResult();

                                      if (result != juce::File())
                                          chosen (result);
                                  });
    };

    showInstallSection();
}

SettingsPage::~SettingsPage()
{
    // A chooser still open must not answer into a deleted page.
    fileChooser.reset();
}

juce::Rectangle<int> SettingsPage::panelBounds() const
{
    return { (getWidth() - panelWidth) / 2, (getHeight() - panelHeight) / 2, panelWidth, panelHeight };
}

//==============================================================================
void SettingsPage::showInstallSection()
{
    uninstallMode = false;
    setTabLook (installTab, true, installBlue);
    setTabLook (uninstallTab, false, uninstallRed);

    wipeButton.setVisible (false);
    installedList.setVisible (false);

    for (auto& toggle : formatSwitches)  toggle.setVisible (true);
    for (auto& field : folderFields)     field.setVisible (true);
    for (auto& chooser : folderChoosers) chooser.setVisible (true);

    repaint();
}

void SettingsPage::showUninstallSection()
{
    uninstallMode = true;
    setTabLook (uninstallTab, true, uninstallRed);
    setTabLook (installTab, false, installBlue);

    for (auto& toggle : formatSwitches)  toggle.setVisible (false);
    for (auto& field : folderFields)     field.setVisible (false);
    for (auto& chooser : folderChoosers) chooser.setVisible (false);

    wipeButton.setVisible (true);
    installedList.setVisible (true);
    installedList.setRows (delegate->getProducts());
    installedList.rebuild();
    installedList.resized();

    repaint();
}

//==============================================================================
void SettingsPage::applyFolderField (PluginFormat format)
{
    const int row = format - 1;

    if (row < 0 || row >= folderRowCount)
        return;

    auto& field = folderFields[(size_t) row];
    const auto folder = SettingsRules::appliedFolder (field.getText(), formatSettings->defaultPath[format]);

    // Putting the applied text back is not an edit of the user's.
    field.setText (folder, false);
    formatSettings->path[format] = folder;
}

void SettingsPage::openFolderChooser (PluginFormat format)
{
    if (chooseFolder == nullptr)
        return;

    juce::Component::SafePointer<SettingsPage> self (this);
    chooseFolder (juce::File (formatSettings->path[format]), [self, format] (const juce::File& folder)
    {
        if (auto* page = self.getComponent())
            page->folderChosen (format, folder);
    });
}

void SettingsPage::folderChosen (PluginFormat format, const juce::File& folder)
{
    const int row = format - 1;

    if (row >= 0 && row < folderRowCount && ! closing)
        folderFields[(size_t) row].setText (folder.getFullPathName(), true);
}

void SettingsPage::applyTestServerField()
{
    testServerField.setText (SettingsRules::testServerOrDefault (testServerField.getText(),
                                                                 ServiceConfig::defaultTestServer()),
                             false);
    testUrl = testServerField.getText();
}

//==============================================================================
bool SettingsPage::passGuard()
{
    switch (SettingsRules::guard (formatSettings->active, changed, pathInfoShown))
    {
        case SettingsRules::Guard::noFormatChosen:
            Toast::showDialog ("Plugin types", "You must choose at least one plugin type", "OK", {}, this);
            return false;

        case SettingsRules::Guard::showPathInfo:
            showPathInfo();
            return false;

        case SettingsRules::Guard::pass:
            break;
    }

    return true;
}

void SettingsPage::showPathInfo()
{
    Toast::showDialog ("Info about path changes",
                       "When you change installation paths for plugins, they remain where you installed them, "
                       "and need to be removed manually. Plugins will be downloaded to the new paths from now on, "
                       "upon installation or updates.",
                       "OK", {}, 330, 270, this);
    pathInfoShown = true;
}

void SettingsPage::wipePressed()
{
    if (closing)
        return;

    writeLog ("Do Wipe pressed");
    const auto ticked = installedList.tickedRows();
    delegate->wipePressed (ticked);
    close();
}

void SettingsPage::reloadPressed()
{
    if (closing)
        return;

    writeLog ("refreshButton");
    delegate->refreshPressed();
    close();
}

void SettingsPage::logoutPressed()
{
    if (closing || ! passGuard())
        return;

    delegate->logoutPressed();
    close();
}

void SettingsPage::donePressed()
{
    if (closing)
        return;

    for (int row = 0; row < folderRowCount; ++row)
        applyFolderField (formatOfFolderRow (row));

    if (! passGuard())
        return;

    applyTestServerField();
    delegate->settingsFinished (changed, useTestUrl, testUrl);
    close();
}

void SettingsPage::updatePressed()
{
    if (closing)
        return;

    writeLog ("updateVDSButton pressed");

    juce::String url, version, build;

    if (! VRCloud::getLatestInternalVDSInfo (delegate->getToken(), url, version, build))
    {
        writeLog ("getLatestInternalVDSInfo failed\n");
        return;
    }

    writeLog ("url = " + url);
    writeLog ("version = " + version);
    writeLog ("build = " + build);

    if (url.isEmpty())
        return;

    if (! requestHelperUpdate (url, version, build))
    {
        writeLog ("updateVDSButton: no update handler, the update was not started");
        return;
    }

    close();
}

void SettingsPage::close()
{
    closing = true;
    setVisible (false);

    // Deleted once the click that closed it has returned.
    juce::Component::SafePointer<SettingsPage> self (this);
    juce::MessageManager::callAsync ([self]
    {
        delete self.getComponent();
    });
}

//==============================================================================
void SettingsPage::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0x70000000));

    const auto panel = panelBounds();
    const int x0 = panel.getX(), y0 = panel.getY(), s = staffOffset;

    g.setColour (panelColour);
    g.fillRect (panel);

    g.setColour (lightText);
    g.setFont (getAppFont (AppFontStyle::semiBold).withHeight (18.0f));
    g.drawText ("Vamrelund Helper Settings", x0 + 25, y0 + 16, 260, 25, juce::Justification::centredLeft, true);

    g.setFont (getAppFont (AppFontStyle::regular).withHeight (11.0f));
    g.drawText ("RELOAD HELPER", x0 + panelWidth - 258, y0 + 16, 94, 25, juce::Justification::centredRight, true);

    // The line under the tabs, broken by a pointer under the selected one.
    const auto& selectedTab = uninstallMode ? uninstallTab : installTab;
    const float lineY = (float) (y0 + s + 90);
    const float pointerX = (float) selectedTab.getBounds().getCentreX();
    juce::Path line;
    line.startNewSubPath ((float) (x0 + 10), lineY);
    line.lineTo (pointerX - 7.0f, lineY);
    line.lineTo (pointerX, lineY + 7.0f);
    line.lineTo (pointerX + 7.0f, lineY);
    line.lineTo ((float) (x0 + panelWidth - 10), lineY);
    g.setColour (outlineGrey);
    g.strokePath (line, juce::PathStrokeType (1.0f));

    g.setFont (getAppFont (AppFontStyle::semiBold).withHeight (15.0f));
    g.setColour (uninstallMode ? uninstallRed : installBlue);
    g.drawFittedText (uninstallMode ? "Uninstall Vamrelund Plug-ins" : "Install Plug-in formats and locations",
                      x0 + 40, y0 + s + 113, 350, 20, juce::Justification::centredLeft, 1);

    if (! uninstallMode)
    {
        g.setColour (fieldText);
        g.setFont (getAppFont (AppFontStyle::regular).withHeight (14.0f));

        for (PluginFormat format = 0; format < PluginFormats::pluginFormatCount; ++format)
            g.drawText (formatLabel (format), x0 + 10, y0 + s + 150 + 40 * format, 60, 20,
                        juce::Justification::centredRight, true);
    }

    if (staffMode)
    {
        g.setColour (fieldText);
        g.setFont (getAppFont (AppFontStyle::regular).withHeight (14.0f));
        g.drawText ("Dev URL", x0 + 385, y0 + 61, 80, 20, juce::Justification::centredLeft, true);
    }
}

void SettingsPage::resized()
{
    const auto panel = panelBounds();
    const int x0 = panel.getX(), y0 = panel.getY(), s = staffOffset;
    const int W = panelWidth, H = panelHeight;

    reloadButton.setBounds (x0 + W - 158, y0 + 16, 25, 25);
    logoutButton.setBounds (x0 + W - 105, y0 + 16, 86, 25);
    updateButton.setBounds (x0 + W - 105, y0 + s + 54, 86, 25);
    installTab.setBounds (x0 + 25, y0 + s + 56, 86, 24);
    uninstallTab.setBounds (x0 + 128, y0 + s + 56, 86, 24);
    doneButton.setBounds (x0 + W - 105, y0 + H - 43, 86, 24);
    wipeButton.setBounds (x0 + 25, y0 + H - 43, 86, 24);
    installedList.setBounds (x0 + 5, y0 + s + 139, W - 10, H - 185 - s);

    for (int r = 0; r < PluginFormats::pluginFormatCount; ++r)
        formatSwitches[(size_t) r].setBounds (x0 + 82, y0 + s + 147 + 40 * r, 25, 25);

    for (int row = 0; row < folderRowCount; ++row)
    {
        const int r = formatOfFolderRow (row);
        folderFields[(size_t) row].setBounds (x0 + 118, y0 + s + 148 + 40 * r, 297, 22);
        folderChoosers[(size_t) row].setBounds (x0 + 430, y0 + s + 148 + 40 * r, 25, 22);
    }

    testServerField.setBounds (x0 + 78, y0 + 60, 297, 22);
    testServerSwitch.setBounds (x0 + 42, y0 + 60, 25, 25);
}
