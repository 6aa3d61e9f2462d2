#pragma once

#include <juce_core/juce_core.h>

#include <optional>

/** What a process started with a sign-in link and the main instance say to
    each other over the link pipe.

    Every message is framed: a 4-byte marker, a 4-byte payload length (both
    little-endian) and the payload. A reader skips anything in front of the
    marker: on Linux the pipe is a pair of FIFOs that every client shares, and
    JUCE writes a stray byte into the reply FIFO when a client closes.

    The client sends "link", a fresh nonce and the link (UTF-8, one per line);
    the server answers "ack" and the same nonce once it has queued the link.
    The nonce lets a client pass over an answer that was meant for an earlier
    client which gave up waiting.

    Two names guard the pipe (see ExclusiveNameLock): the owner's, held by the
    server for as long as it serves the pipe, and the turn, which clients take
    one at a time, because a Linux pipe carries every client's bytes.
*/
namespace LinkPipeProtocol
{
    inline constexpr juce::uint32 marker = 0x4b4c4856;   // "VHLK"
    inline constexpr int maxPayloadBytes = 64 * 1024;

    juce::String ownerLockName (const juce::String& pipeName);
    juce::String turnLockName (const juce::String& pipeName);

    juce::MemoryBlock linkRequest (const juce::String& nonce, const juce::String& link);
    juce::MemoryBlock acknowledgement (const juce::String& nonce);

    struct Request
    {
        juce::String nonce, link;
    };

    /** Nothing when the payload is not a well-formed request. */
    std::optional<Request> parseLinkRequest (const juce::MemoryBlock& payload);

    /** Nothing when the payload is not an acknowledgement. */
    std::optional<juce::String> parseAcknowledgement (const juce::MemoryBlock& payload);

    /** Writes one framed message; false unless all of it went out before the
        time ran out. */
    bool writeMessage (juce::NamedPipe& pipe, const juce::MemoryBlock& payload, int timeoutMs);

    struct Incoming
    {
        enum class Status
        {
            received,   // one whole message is in payload
            nothing,    // nothing (or only stray bytes) arrived in the first wait
            broken      // a message started but was cut short or claims an impossible size
        };

        Status status = Status::nothing;
        juce::MemoryBlock payload;
    };

    /** Reads the next message. firstWaitMs bounds the wait for a message to
        begin; once its marker is in, the rest must follow within restWaitMs. */
    Incoming readMessage (juce::NamedPipe& pipe, int firstWaitMs, int restWaitMs);
}
