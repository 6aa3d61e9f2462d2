#pragma once

#include <juce_core/juce_core.h>

#include <functional>

/** Opening a web page in the user's default browser.

    Only absolute http and https addresses are opened: the developer address
    on the login page is typed by the user and must never become a command
    or a local file. On Windows the shell opens the address; on Linux
    xdg-open does, started without a shell so the address is passed as one
    argument. */
namespace Browser
{
    /** True for an address that may be handed to the browser. */
    bool isWebAddress (const juce::String& address);

    enum class OpenResult
    {
        opened,
        refused,        // not an absolute http or https address
        launchFailed    // the browser (or the handler) could not take it
    };

    /** Opens the address. Logging is the caller's: this layer sits below the log. */
    OpenResult openURL (const juce::String& address);

    /** While one exists, openURL hands web addresses to the given function
        instead of the system browser (tests, and runs without a desktop). */
    class ScopedHandler
    {
    public:
        explicit ScopedHandler (std::function<bool (const juce::String&)> handler);
        ~ScopedHandler();

    private:
        std::function<bool (const juce::String&)> previous;
        JUCE_DECLARE_NON_COPYABLE (ScopedHandler)
    };

    /** The system's own opener, implemented per platform. */
    bool launchSystemBrowser (const juce::String& address);
}
