#pragma once

#include "cloud/RequestEngine.h"
#include "platform/WorkInFlight.h"

#include <juce_events/juce_events.h>

#include <functional>
#include <memory>

/** One asynchronous request: performRequest runs on a thread of its own and
    the answer reaches the callback on the message thread.

    Nobody owns a started request; the callback installed by its creator
    deletes it after delivering the answer. Requests still running when the
    application shuts down are cancelled and deleted by the framework's
    shut-down objects, and their callbacks never run. */
class VamretRequest : public juce::Thread,
                      private juce::AsyncUpdater
{
public:
    VamretRequest();
    ~VamretRequest() override;

    /** Stores the request and starts the thread (once). */
    void start (const juce::URL& url, RequestEngine::Method method, RequestEngine::BodyKind bodyKind,
                const juce::String& token);

    std::function<void (VamretResponse)> callback;

    /** Stops the thread and any transfer under way, without delivering.
        Returns false when the thread had to be killed. */
    bool cancelAndStop();

protected:
    void run() override;

    /** Hands the answer to the message thread, unless the thread was told to
        stop first. */
    virtual void lockAndTrigger();

    juce::URL url;
    RequestEngine::Method method = RequestEngine::Method::get;
    RequestEngine::BodyKind bodyKind = RequestEngine::BodyKind::json;
    juce::String token;
    VamretResponse response;
    int timeoutMs = RequestEngine::timeoutMs;

private:
    void handleAsyncUpdate() override;

    RequestEngine::Cancellation cancellation;

    // Held while the thread may run, so quitting stops it with all other work.
    std::unique_ptr<WorkInFlight::Registration> inFlight;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VamretRequest)
};

/** POSTs a JSON request and calls `done` with the answer on the message thread. */
void sendAsync (const juce::URL& url, const juce::String& token, std::function<void (VamretResponse)> done);
