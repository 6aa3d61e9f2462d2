#pragma once

#include "platform/HttpTransferStop.h"

#include <juce_core/juce_core.h>

#include <functional>

/** One blocking HTTP transfer on the calling thread.

    Every request the app makes goes through here. On Linux it is libcurl's
    easy interface, because JUCE's curl loop sleeps 100 ms before each
    request has a socket; on Windows it is JUCE's WinINet stream, as before.
    TLS verification and proxies stay as the system library has them.

    A transfer is complete only when a final answer arrived with its whole
    body. A body that breaks off (fewer bytes than Content-Length, or an
    error after the headers) is a failure, so a half-received 200 never
    passes for an answer. Failures come back in the result, with a reason. */
namespace HttpTransport
{
    enum class Method
    {
        get,
        post
    };

    /** Sees the final answer's status and headers before the first piece of
        its body reaches the receiver (not called when the body is empty).
        Returning false ends the transfer as stopped, with nothing handed over,
        so a caller can refuse an answer it must not store. */
    using AnswerCheck = std::function<bool (int status, const juce::StringPairArray& headers)>;

    struct Request
    {
        juce::String address;
        Method method = Method::get;
        juce::MemoryBlock body;         // sent with Method::post
        juce::StringArray headers;      // "Name: value", sent in this order

        /** 0 means no limit. */
        int connectTimeoutMs = 10000;

        /** The longest time without a byte of the answer; 0 means no limit.
            Linux counts it in whole seconds, rounded up; WinINet ignores it
            under Wine. */
        int readTimeoutMs = 10000;

        /** Following more than this many redirects fails the transfer. */
        int maxRedirects = 5;

        /** From 0 on, asks for the bytes from this offset ("Range: bytes=N-"). */
        juce::int64 rangeFrom = -1;

        /** Optional; see AnswerCheck. */
        AnswerCheck acceptAnswer;
    };

    /** Takes each piece of the body as it arrives; returning false stops the
        transfer. Runs on the transfer's thread. */
    using Receiver = std::function<bool (const void* data, size_t size)>;

    enum class Failure
    {
        none,               // a final answer arrived with its whole body
        noAnswer,           // no connection, or it closed before an answer
        brokenOff,          // the body ended early or the connection failed in it
        timedOut,           // connecting, or waiting for bytes, took too long
        tooManyRedirects,
        stopped             // by the stop object or the receiver
    };

    struct Result
    {
        Failure failure = Failure::noAnswer;
        juce::String error;             // why, when it failed

        bool isComplete() const noexcept { return failure == Failure::none; }

        int status = 0;                 // of the final answer; 0 when none arrived
        juce::StringPairArray headers;  // of the final answer only
        juce::int64 contentLength = -1; // as announced; -1 when not
        juce::String contentRange;      // as announced; empty when not
        juce::int64 bodyBytes = 0;      // handed to the receiver
    };

    /** Runs the transfer; a stop object ends it within one read. */
    Result perform (const Request& request, const Receiver& receiver, HttpTransferStop* stop = nullptr);

    /** Runs the transfer and collects the body in memory. */
    Result performIntoMemory (const Request& request, juce::MemoryBlock& body, HttpTransferStop* stop = nullptr);

    /** The headers with each repeated name sent once, its values joined by
        ", " in their order, which HTTP reads the same. WinINet under Wine keeps
        only one line of a name. */
    juce::StringArray joinRepeatedHeaders (const juce::StringArray& headers);

    /** The request header for Request::rangeFrom. */
    juce::String rangeHeader (juce::int64 from);

    /** Marks a result whose body came up short of its announced length as
        failed. Both systems end their transfers through this. */
    void rejectShortBody (Result& result);
}
