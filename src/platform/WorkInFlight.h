#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <memory>

/** Every thread the application starts: requests, picture loads, and later
    install jobs, manual downloads and the self-update download.

    Quitting asks each of them to stop and waits for all of them together
    within one bound, so no worker outlives the objects it reports to and no
    quit hangs on a stalled network. Each piece of work holds a Registration
    for as long as its thread may run. The registry never touches the work's
    object directly: it calls the stop function under the registration's own
    lock, which the owner takes away before it is destroyed. */
namespace WorkInFlight
{
    class Registration
    {
    public:
        /** Registers running work. requestStop must return at once (signal a
            flag, cancel a stream); it may be called from any thread. */
        Registration (const juce::String& name, std::function<void()> requestStop);

        /** Same as finished(). */
        ~Registration();

        /** The work's thread is done or about to return. After this the stop
            function is never called again. Safe to call more than once. */
        void finished();

        /** Set once quitting (or anyone) asked this work to stop. */
        bool stopRequested() const noexcept;

        struct Entry;

    private:
        std::shared_ptr<Entry> entry;

        JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Registration)
    };

    /** Asks all registered work to stop and waits until it has finished or
        timeoutMs has passed. Returns the names of the work still running. */
    juce::StringArray stopAll (int timeoutMs);

    /** How many pieces of work are registered now. */
    int count();

    /** The bound that quitting waits for all work together. */
    inline constexpr int quitTimeoutMs = 5000;
}
