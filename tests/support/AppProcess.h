#pragma once

#include <juce_core/juce_core.h>

#include <memory>

/** The built application, started as a process of its own with this test
    process's environment (so inside the current sandbox). Killed when the
    object goes, if it still runs. */
class AppProcess
{
public:
    AppProcess();
    ~AppProcess();

    /** The application beside the test executable. */
    static juce::File executable();

    /** Starts the application. A non-empty link is passed the way the system
        passes a "vamrhelper:" address that the browser opens. */
    bool start (const juce::String& link = {});

    /** Starts the application in the update worker role, as the self-update's
        coordinator does: it connects to the coordinator's pipe of that name. */
    bool startAsUpdateWorker (const juce::String& coordinatorPipe);

    bool isRunning();

    /** True once the process has ended, within the time. */
    bool waitForExit (int timeoutMs);

    /** The exit code once the process has ended; -1 while it runs (and on
        Linux when a signal ended it). */
    int exitCode();

    /** Asks the application to quit as the system does (Linux: SIGINT, on
        which JUCE quits the message loop; Windows: WM_CLOSE to its visible
        windows, as their close buttons send). */
    void askToQuit();

    /** Ends the process at once, as a crash would. */
    void kill();

    /** What it wrote to standard output and standard error so far. */
    juce::String output();

    struct Impl;

private:
    /** Starts the executable with one argument (none when empty); on Windows
        in double quotes when asked. */
    bool launch (const juce::String& argument, bool quotedOnWindows);

    std::unique_ptr<Impl> impl;

    JUCE_DECLARE_NON_COPYABLE (AppProcess)
};
