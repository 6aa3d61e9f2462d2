#pragma once

#include <juce_core/juce_core.h>

/** What the request engine needs from the self-update: a service answer of
    403 with a "url" starts a forced update of the application from there. */
class ForcedUpdateHandler
{
public:
    virtual ~ForcedUpdateHandler() = default;

    /** True while an update is under way; a second one is not started. */
    virtual bool isUpdateRunning() const = 0;

    /** Called on a request thread: must hand the work over and return quickly. */
    virtual void startForcedUpdate (const juce::String& url) = 0;

    /** The staff update button's update to an offered build: returns at once,
        the work runs elsewhere. */
    virtual void startHelperUpdate (const juce::String& url, const juce::String& version,
                                    const juce::String& build) = 0;
};

/** The process-wide handler (none by default). Registering nullptr removes it.
    A handler must unregister before it is destroyed. */
void setForcedUpdateHandler (ForcedUpdateHandler* handler);

/** Starts a forced update from `url` if a handler is registered, the address
    is not empty and no update runs. Returns whether one was started. */
bool requestForcedUpdate (const juce::String& url);

/** Hands an offered build to the handler, busy or not. Returns false when no
    handler is registered or the address is empty. */
bool requestHelperUpdate (const juce::String& url, const juce::String& version, const juce::String& build);
