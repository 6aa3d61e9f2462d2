#pragma once

#include "localstate/FormatSettings.h"
#include "ui/look/BorderImageButton.h"
#include "ui/look/MyToggleButton.h"
#include "ui/pages/SettingsPageDelegate.h"
#include "ui/views/SelectPluginsPopup.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <functional>
#include <memory>

/** The settings panel laid over the whole window. It switches the plugin
    formats, moves the VST2 and VST3 folders, wipes installed products,
    reloads the list and signs out; staff accounts also choose the test
    server and update the application to the newest internal build.

    It edits the main component's format settings in place and reports
    through the delegate. Every closing action (wipe, reload, logout, done,
    a started update) ends with the panel deleting itself, after the click
    that closed it has returned. Message thread only. */
class SettingsPage : public juce::Component
{
public:
    static constexpr int width = 500, height = 350, staffHeight = 410, staffExtra = 60;

    /** Folder rows (VST2, VST3) by format; AAX has a switch only. */
    static constexpr int folderRowCount = 2;

    SettingsPage (SettingsPageDelegate* delegate, FormatSettings* formatSettings, bool staffMode,
                  bool useTestUrl, const juce::String& testUrl);
    ~SettingsPage() override;

    /** The panel's area within the page (the page covers the window). */
    juce::Rectangle<int> panelBounds() const;

    void showInstallSection();
    void showUninstallSection();

    /** The folder field's text, applied to the format settings. */
    void applyFolderField (PluginFormat format);

    /** The chooser's answer for a folder row: the field takes its path. */
    void folderChosen (PluginFormat format, const juce::File& folder);

    void wipePressed();
    void reloadPressed();
    void logoutPressed();
    void donePressed();
    void updatePressed();

    /** Opens a folder chooser at a start folder and passes the chosen folder
        on (nothing when cancelled). Replaceable for tests, where no system
        dialog can be answered. */
    std::function<void (const juce::File& start, std::function<void (const juce::File&)> chosen)> chooseFolder;

    /** Set once a closing action has run; the panel is then deleted. */
    bool isClosing() const noexcept { return closing; }

    void paint (juce::Graphics&) override;
    void resized() override;

    int panelWidth = width, panelHeight = height, staffOffset = 0;
    bool staffMode = false;
    bool uninstallMode = false;
    bool changed = false;
    bool pathInfoShown = false;
    bool useTestUrl = false;
    juce::String testUrl;

    borderImageButton reloadButton;
    MyToggleButton logoutButton { "Logout" }, updateButton { "Update VDS" };
    MyToggleButton installTab { "Install" }, uninstallTab { "Uninstall" };
    MyToggleButton doneButton, wipeButton { "Wipe" };
    std::array<juce::ToggleButton, 3> formatSwitches;
    std::array<juce::TextEditor, folderRowCount> folderFields;
    std::array<juce::TextButton, folderRowCount> folderChoosers;
    SelectPluginsPopup installedList;
    juce::ToggleButton testServerSwitch;
    juce::TextEditor testServerField;

private:
    static PluginFormat formatOfFolderRow (int row) { return row + 1; }

    /** Runs the guard; false when the panel must stay open. */
    bool passGuard();
    void showPathInfo();
    void applyTestServerField();
    void openFolderChooser (PluginFormat format);
    void close();

    SettingsPageDelegate* delegate = nullptr;
    FormatSettings* formatSettings = nullptr;
    std::unique_ptr<juce::FileChooser> fileChooser;
    bool closing = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SettingsPage)
};
