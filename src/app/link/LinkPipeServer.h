#pragma once

#include "platform/ExclusiveNameLock.h"

#include <juce_events/juce_events.h>

#include <atomic>
#include <functional>
#include <memory>

/** Serves the link pipe for the main instance: takes the sign-in links that
    processes started by the browser hand over (see handOverLink) and passes
    each one to the message thread.

    Only one server at a time owns a pipe name. A server whose name is owned
    by another (a second main instance, or the new version while the old one
    still runs during a self-update) keeps trying in the background and takes
    the pipe once the owner has gone.

    Create and delete it on the message thread. Its thread does the pipe work;
    after the destructor no link reaches the handler, not even one that was
    already received.
*/
class LinkPipeServer : private juce::Thread
{
public:
    using LinkHandler = std::function<void (const juce::String& link)>;

    /** How often a server without the pipe tries to take it. */
    static constexpr int retryIntervalMs = 1000;

    /** Starts at once. onLink is called on the message thread, once per link,
        in the order the links arrived. */
    LinkPipeServer (juce::String pipeName, LinkHandler onLink);
    ~LinkPipeServer() override;

    /** True while this server owns and serves the pipe. */
    bool ownsPipe() const noexcept { return owning.load(); }

private:
    struct Delivery
    {
        LinkHandler handler;
    };

    void run() override;
    bool takePipe();
    void giveUpPipe();
    void serveNextMessage();

    const juce::String pipeName;
    std::shared_ptr<Delivery> delivery;
    ExclusiveNameLock owner;
    juce::NamedPipe pipe;
    std::atomic<bool> owning { false };
    bool creationFailureLogged = false;   // the thread's own: one line, not one per retry

    JUCE_DECLARE_NON_COPYABLE (LinkPipeServer)
};
