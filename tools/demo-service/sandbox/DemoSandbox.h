#pragma once

#include "demoservice/Manifest.h"
#include "localstate/FormatSettings.h"

#include <juce_core/juce_core.h>

#include <filesystem>
#include <optional>
#include <string>

/** Prepares the app's sandbox for the demo, the end-to-end test and the
    benchmarks: plugins that look installed, and a stored sign-in.

    Every place comes from the app's own code (Locations, the format settings
    in the app's settings file, Product::getFormatFile, the plugins' settings
    files), so the app finds exactly what it looks for. Nothing here writes to
    the app's log. */
namespace demosandbox
{
    /** One product build to pre-install: a product name of the demo manifest,
        and a version it lists (empty: the build the catalogue offers). */
    struct PreinstallRequest
    {
        std::string name;
        std::string version;

        /** "name" or "name=version"; nothing for an empty name or version. */
        static std::optional<PreinstallRequest> parse (const std::string& text);
    };

    /** The plugin-format folders and switches the app would use now: read
        from its settings file, which stays untouched (defaults when it does
        not exist yet). */
    FormatSettings formatSettingsInUse();

    /** Leaves in the sandbox what an install of that build leaves: the plugin
        binaries of every enabled format at the files the app checks, taken
        from the build's generated archive (so their version resources are
        the build's), the product's resource files in the data folder, and the
        build number in the plugin's own settings file.

        Running it again gives the same result: files are replaced, and a
        bundle folder is replaced as a whole. Expansions are not handled. The
        paths written are added to `written`. */
    juce::Result preinstall (const demoservice::Manifest& manifest,
                             const std::filesystem::path& dataFolder,
                             const PreinstallRequest& request,
                             const FormatSettings& settings,
                             juce::StringArray& written);

    /** Stores an account as a successful sign-in leaves it in the app's
        settings file: "email", "token", and the terms accepted. */
    juce::Result storeSignIn (const juce::String& email, const juce::String& token);
}
