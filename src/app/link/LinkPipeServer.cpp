#include "app/link/LinkPipeServer.h"

#include "app/link/LinkPipeProtocol.h"
#include "log/DiagnosticLog.h"
#include "platform/LocalPipe.h"

namespace
{
    // The thread looks at its exit flag at least this often while idle.
    constexpr int idleWaitMs = 250;

    // A message that has begun must be complete within this time.
    constexpr int messageTimeoutMs = 1000;

    constexpr int acknowledgementTimeoutMs = 500;
}

LinkPipeServer::LinkPipeServer (juce::String name, LinkHandler onLink)
    : juce::Thread ("link pipe"),
      pipeName (std::move (name)),
      delivery (std::make_shared<Delivery> (Delivery { std::move (onLink) })),
      owner (LinkPipeProtocol::ownerLockName (pipeName))
{
    startThread();
}

LinkPipeServer::~LinkPipeServer()
{
    signalThreadShouldExit();
    notify();
    pipe.close();   // wakes a read in progress
    stopThread (5000);

    // Links still queued for the message thread find nobody to call.
    delivery = nullptr;
}

void LinkPipeServer::run()
{
    while (! threadShouldExit())
    {
        if (! owning.load() && ! takePipe())
        {
            wait (retryIntervalMs);
            continue;
        }

        serveNextMessage();
    }

    giveUpPipe();
}

bool LinkPipeServer::takePipe()
{
    if (! owner.tryAcquire())
        return false;

    // A pipe left behind by an owner that crashed is taken over as it is.
    const auto address = LocalPipe::address (pipeName);

    if (address.isEmpty() || ! pipe.createNewPipe (address, false))
    {
        if (! creationFailureLogged)
            writeLog ("link pipe <" + pipeName + "> could not be created");

        creationFailureLogged = true;
        owner.release();
        return false;
    }

    owning = true;
    writeLog ("link pipe <" + pipeName + "> is served by this instance");
    return true;
}

void LinkPipeServer::giveUpPipe()
{
    // The pipe goes before the name, so the next owner never meets it half closed.
    pipe.close();
    owner.release();
    owning = false;
}

void LinkPipeServer::serveNextMessage()
{
    using Status = LinkPipeProtocol::Incoming::Status;

    const auto incoming = LinkPipeProtocol::readMessage (pipe, idleWaitMs, messageTimeoutMs);

    if (incoming.status == Status::nothing || threadShouldExit())
        return;

    const auto request = incoming.status == Status::received
                       ? LinkPipeProtocol::parseLinkRequest (incoming.payload)
                       : std::nullopt;

    // The next read looks for the next message's marker, so whatever
    // follows a broken message is skipped up to the next good one.
    if (! request.has_value())
    {
        writeLog ("link pipe <" + pipeName + ">, unreadable message dropped");
        return;
    }

    juce::MessageManager::callAsync ([target = std::weak_ptr<Delivery> (delivery), link = request->link]
                                     {
                                         if (auto live = target.lock())
                                             live->handler (link);
                                     });

    if (! LinkPipeProtocol::writeMessage (pipe, LinkPipeProtocol::acknowledgement (request->nonce),
                                          acknowledgementTimeoutMs))
        writeLog ("link pipe <" + pipeName + ">, the sender left before the acknowledgement");
}
