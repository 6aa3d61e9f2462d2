#pragma once

#include <juce_core/juce_core.h>

#include <functional>

/** Opening a local file with the application the system has for its type,
    as a double click would (a PDF in the user's viewer).

    On Windows the shell opens it (ShellExecuteW with the default verb); on
    Linux xdg-open does, started without a shell so the path is passed as one
    argument whatever it contains. */
namespace FileOpener
{
    enum class OpenResult
    {
        opened,
        missing,        // no such file: nothing is started
        launchFailed    // the system (or the handler) could not take it
    };

    /** Opens the file. Logging is the caller's: this layer sits below the log. */
    OpenResult openFile (const juce::File& file);

    /** While one exists, openFile hands existing files to the given function
        instead of the system's viewer (tests, and runs without a desktop).
        Any thread may call openFile meanwhile. */
    class ScopedHandler
    {
    public:
        explicit ScopedHandler (std::function<bool (const juce::File&)> handler);
        ~ScopedHandler();

    private:
        std::function<bool (const juce::File&)> previous;
        JUCE_DECLARE_NON_COPYABLE (ScopedHandler)
    };

    /** The system's own opener, implemented per platform. */
    bool launchSystemViewer (const juce::File& file);
}
