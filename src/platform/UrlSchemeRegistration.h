#pragma once

#include <juce_core/juce_core.h>

/** Makes the system hand "vamrhelper://" addresses (the end of a browser
    sign-in) to this executable. Done at every start in the main role, so
    the registration follows the copy that was started last.

    Windows: three REG_SZ values below HKEY_CURRENT_USER, in
    Locations::userClassesKey() (Software\Classes):
        <scheme>                        (default) "URL:<scheme> Protocol"
        <scheme>                        "URL Protocol" empty
        <scheme>\shell\open\command     (default) "<exe>" "%1"

    Linux: the desktop entry <scheme>-url-handler.desktop in
    Locations::userDataHome()/applications, whose Exec runs "<exe>" %u for
    x-scheme-handler/<scheme>, made the default handler in
    Locations::userConfigHome()/mimeapps.list as `xdg-mime default` does.
    A failed desktop entry reports like a failed protocol key, a failed
    mimeapps.list like a failed command key.

    In a sandbox (VAMRHELPER_ROOT) both land inside it: the registry below
    Software\Vamrelund Helper Sandbox\<folder> <hash>, the files below
    <folder>/xdg. The outcome goes to the console only (UrlSchemeTexts),
    never to the log or the window. */
namespace UrlSchemeRegistration
{
    /** The scheme of the browser sign-in's links. */
    inline constexpr const char* signInScheme = "vamrhelper";

    /** Registers this executable for the scheme and prints the outcome. */
    void registerUrlScheme();

    /** Writes the entries that make the system run executablePath for the
        scheme; prints an error line for a step that fails. True when every
        entry was written. */
    bool registerProtocol (const juce::String& scheme, const juce::String& executablePath);
}
