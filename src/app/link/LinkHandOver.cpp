#include "app/link/LinkHandOver.h"

#include "app/link/LinkPipeProtocol.h"
#include "platform/ExclusiveNameLock.h"
#include "platform/LocalPipe.h"

namespace
{
    using Result = LinkHandOverOutcome::Result;

    LinkHandOverOutcome outcome (Result result, juce::String detail = {})
    {
        return { result, std::move (detail) };
    }

    struct Deadline
    {
        explicit Deadline (int timeoutMs) : end (juce::Time::getMillisecondCounterHiRes() + timeoutMs) {}

        int left() const { return (int) juce::jmax (0.0, end - juce::Time::getMillisecondCounterHiRes()); }
        bool passed() const { return left() == 0; }

        const double end;
    };
}

LinkHandOverOutcome handOverLink (const juce::String& pipeName, const juce::String& link, int timeoutMs)
{
    const Deadline deadline (juce::jmax (1, timeoutMs));

    // Only a live process holds the owner's name; a pipe left by a crash has
    // none, so this answers at once rather than after the time-out.
    if (! ExclusiveNameLock::isTaken (LinkPipeProtocol::ownerLockName (pipeName)))
        return outcome (Result::noInstance, "no instance serves the pipe");

    const auto nonce = juce::Uuid().toDashedString();
    const auto request = LinkPipeProtocol::linkRequest (nonce, link);

    if ((int) request.getSize() > LinkPipeProtocol::maxPayloadBytes)
        return outcome (Result::noAnswer, "the link is too long to send");

    ExclusiveNameLock turn (LinkPipeProtocol::turnLockName (pipeName));

    while (! turn.tryAcquire())
    {
        if (deadline.passed())
            return outcome (Result::noAnswer, "another link was being handed over");

        juce::Thread::sleep (5);
    }

    const auto address = LocalPipe::address (pipeName);

    if (address.isEmpty())
        return outcome (Result::noAnswer, "there is no safe place for the pipe");

    juce::NamedPipe pipe;

    // The server may still be busy with the client before.
    while (! pipe.openExisting (address))
    {
        if (deadline.passed())
            return outcome (Result::noAnswer, "the pipe could not be opened");

        juce::Thread::sleep (5);
    }

    if (! LinkPipeProtocol::writeMessage (pipe, request, deadline.left()))
        return outcome (Result::noAnswer, "nobody read the link");

    for (;;)
    {
        const auto incoming = LinkPipeProtocol::readMessage (pipe, deadline.left(), deadline.left());

        if (incoming.status != LinkPipeProtocol::Incoming::Status::received)
            return outcome (Result::noAnswer, "no acknowledgement");

        // An answer meant for an earlier client that gave up is passed over.
        if (LinkPipeProtocol::parseAcknowledgement (incoming.payload) == nonce)
            return outcome (Result::delivered);
    }
}
