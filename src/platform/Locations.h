#pragma once

#include <juce_core/juce_core.h>

/** Every fixed folder the application uses, in one place.

    On Windows these are the literal system folders. On Linux they sit inside
    the Wine prefix where musicians keep their Windows plugins. When the
    environment variable VAMRHELPER_ROOT names a folder, every place below,
    the user folders included, is moved into that folder, so tests and the
    demo never touch the real system.
*/
namespace Locations
{
    /** Name of the environment variable that roots every place in a sandbox. */
    inline constexpr const char* sandboxVariable = "VAMRHELPER_ROOT";

    /** The sandbox folder, or an invalid File when none is set. */
    juce::File sandboxRoot();

    /** The drive root: C:\ on Windows, the Wine prefix's drive_c on Linux. */
    juce::File driveRoot();

    /** The machine-wide application data folder (C:\ProgramData). */
    juce::File commonApplicationData();

    /** The machine-wide data folder shared by every account (C:\ProgramData\Vamrelund). */
    juce::File dataFolder();

    /** Where the settings file lives: <commonApplicationData>\Vamrelund\Vamrelund Helper. */
    juce::File settingsFolder();

    /** Root of the plugins' own settings files: <commonApplicationData>\Vamrelund.
        Each plugin keeps <title>\<local key name>.settings below it. */
    juce::File pluginSettingsRoot();

    /** The plugins' machine-wide resource folder:
        <commonApplicationData>\Application Support\Vamrelund. */
    juce::File resourceFolder();

    /** Parent of the numbered download work folders (C:\Program Files\Vamrelund\Helper\downloads). */
    juce::File downloadsFolder();

    /** C:\Program Files\Common Files */
    juce::File commonFilesFolder();

    /** Default plugin folders, used when the settings hold none. */
    juce::File defaultVst3Folder();
    juce::File defaultAaxFolder();
    juce::File defaultVst2Folder();

    /** The user's application data folder (roaming AppData on Windows), where the log lives. */
    juce::File userApplicationData();

    /** The user's Documents folder, where manuals are saved. */
    juce::File userDocuments();

    /** The XDG base folders that desktop entries and the default handlers
        live in (used on Linux): $XDG_DATA_HOME (default ~/.local/share) and
        $XDG_CONFIG_HOME (default ~/.config). A relative value is ignored, as
        the XDG rules ask. In a sandbox: <folder>/xdg/data and <folder>/xdg/config. */
    juce::File userDataHome();
    juce::File userConfigHome();

    /** The registry key below HKEY_CURRENT_USER that holds per-user URL
        schemes (used on Windows): Software\Classes. In a sandbox it is
        Software\Vamrelund Helper Sandbox\<folder name> <hash of its full path>\Classes,
        so tests and the demo never change which program opens a link. */
    juce::String userClassesKey();

    /** The key that holds all of one sandbox's registry entries (empty
        without a sandbox), so a test can remove them in one go. */
    juce::String sandboxRegistryKey();
}
