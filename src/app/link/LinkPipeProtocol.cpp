#include "app/link/LinkPipeProtocol.h"

#include <cmath>

namespace
{
    const juce::String requestKind ("link"), acknowledgementKind ("ack");

    juce::MemoryBlock utf8 (const juce::String& text)
    {
        return { text.toRawUTF8(), text.getNumBytesAsUTF8() };
    }

    juce::StringArray lines (const juce::MemoryBlock& payload, int maxParts)
    {
        const auto text = juce::String::fromUTF8 (static_cast<const char*> (payload.getData()), (int) payload.getSize());
        juce::StringArray parts;

        // Only the first separators count: the last part (the link) is kept whole.
        auto rest = text;

        while (parts.size() < maxParts - 1 && rest.containsChar ('\n'))
        {
            parts.add (rest.upToFirstOccurrenceOf ("\n", false, false));
            rest = rest.fromFirstOccurrenceOf ("\n", false, false);
        }

        parts.add (rest);
        return parts;
    }

    double now()
    {
        return juce::Time::getMillisecondCounterHiRes();
    }

    /** Whole milliseconds until the deadline; 0 once it has passed. */
    int millisecondsLeft (double deadline)
    {
        return (int) juce::jmax (0.0, std::ceil (deadline - now()));
    }

    /** Moves `count` bytes through `step` (a pipe read or write that returns
        the bytes it moved, or -1) until all are through or the deadline passes. */
    template <typename Step>
    bool transferFully (int count, double deadline, Step&& step)
    {
        int done = 0;

        while (done < count)
        {
            const auto left = millisecondsLeft (deadline);

            if (left == 0)
                return false;

            const int moved = step (done, count - done, left);

            if (moved < 0)
                return false;

            done += moved;
        }

        return true;
    }

    bool readFully (juce::NamedPipe& pipe, void* destination, int count, double deadline)
    {
        auto* bytes = static_cast<char*> (destination);
        return transferFully (count, deadline, [&] (int offset, int wanted, int timeoutMs)
        {
            return pipe.read (bytes + offset, wanted, timeoutMs);
        });
    }
}

namespace LinkPipeProtocol
{
    juce::String ownerLockName (const juce::String& pipeName)  { return pipeName + ".owner"; }
    juce::String turnLockName (const juce::String& pipeName)   { return pipeName + ".turn"; }

    juce::MemoryBlock linkRequest (const juce::String& nonce, const juce::String& link)
    {
        return utf8 (requestKind + "\n" + nonce + "\n" + link);
    }

    juce::MemoryBlock acknowledgement (const juce::String& nonce)
    {
        return utf8 (acknowledgementKind + "\n" + nonce);
    }

    std::optional<Request> parseLinkRequest (const juce::MemoryBlock& payload)
    {
        const auto parts = lines (payload, 3);

        if (parts.size() != 3 || parts[0] != requestKind || parts[1].isEmpty() || parts[2].isEmpty())
            return std::nullopt;

        return Request { parts[1], parts[2] };
    }

    std::optional<juce::String> parseAcknowledgement (const juce::MemoryBlock& payload)
    {
        const auto parts = lines (payload, 2);

        if (parts.size() != 2 || parts[0] != acknowledgementKind || parts[1].isEmpty())
            return std::nullopt;

        return parts[1];
    }

    bool writeMessage (juce::NamedPipe& pipe, const juce::MemoryBlock& payload, int timeoutMs)
    {
        if ((int) payload.getSize() > maxPayloadBytes)
            return false;

        juce::MemoryBlock message;
        juce::MemoryOutputStream stream (message, false);
        stream.writeInt ((int) marker);
        stream.writeInt ((int) payload.getSize());
        stream.write (payload.getData(), payload.getSize());
        stream.flush();

        // One write call for the whole message: on Linux a write of up to
        // PIPE_BUF bytes reaches the FIFO in one piece.
        const auto* bytes = static_cast<const char*> (message.getData());
        return transferFully ((int) message.getSize(), now() + juce::jmax (0, timeoutMs),
                              [&] (int offset, int wanted, int waitMs)
                              {
                                  return pipe.write (bytes + offset, wanted, waitMs);
                              });
    }

    Incoming readMessage (juce::NamedPipe& pipe, int firstWaitMs, int restWaitMs)
    {
        Incoming incoming;
        const auto firstDeadline = now() + juce::jmax (1, firstWaitMs);

        // Slide over the stream one byte at a time until the marker shows.
        juce::uint8 window[4] {};

        if (! readFully (pipe, window, 4, firstDeadline))
            return incoming;

        while (juce::ByteOrder::littleEndianInt (window) != marker)
        {
            window[0] = window[1];
            window[1] = window[2];
            window[2] = window[3];

            if (! readFully (pipe, window + 3, 1, firstDeadline))
                return incoming;
        }

        incoming.status = Incoming::Status::broken;
        const auto restDeadline = now() + juce::jmax (1, restWaitMs);
        juce::uint8 lengthBytes[4] {};

        if (! readFully (pipe, lengthBytes, 4, restDeadline))
            return incoming;

        const auto length = (int) juce::ByteOrder::littleEndianInt (lengthBytes);

        if (length < 0 || length > maxPayloadBytes)
            return incoming;

        juce::MemoryBlock payload ((size_t) length);

        if (length > 0 && ! readFully (pipe, payload.getData(), length, restDeadline))
            return incoming;

        incoming.status = Incoming::Status::received;
        incoming.payload = std::move (payload);
        return incoming;
    }
}
