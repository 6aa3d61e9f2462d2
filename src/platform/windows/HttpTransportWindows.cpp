#include "platform/HttpTransport.h"

namespace HttpTransport
{
    namespace
    {
        bool isRedirect (int status)
        {
            return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
        }

        juce::StringPairArray answerHeaders (const juce::StringPairArray& raw)
        {
            // WinINet's raw header block starts with the status line, which
            // JUCE files as a key without a value.
            juce::StringPairArray headers;

            for (int i = 0; i < raw.size(); ++i)
            {
                const auto key = raw.getAllKeys()[i];

                if (key.isNotEmpty() && ! key.startsWith ("HTTP/"))
                    headers.set (key, raw.getAllValues()[i]);
            }

            return headers;
        }

        /** Detaches from the stop object before the stream goes out of scope. */
        struct AttachedStop
        {
            AttachedStop (HttpTransferStop* s, std::uint64_t k) : stop (s), key (k) {}
            ~AttachedStop() { if (stop != nullptr) stop->detach (key); }

            HttpTransferStop* stop;
            std::uint64_t key;
        };
    }

    Result perform (const Request& request, const Receiver& receiver, HttpTransferStop* stop)
    {
        Result result;
        const bool post = request.method == Method::post;
        auto url = juce::URL (request.address);

        if (post)
            url = url.withPOSTData (request.body);

        auto headers = joinRepeatedHeaders (request.headers);

        if (request.rangeFrom >= 0)
            headers.add (rangeHeader (request.rangeFrom));

        // JUCE reads 0 as "its default of 30 s" and a negative value as no limit.
        juce::WebInputStream stream (url, post);
        stream.withExtraHeaders (headers.joinIntoString ("\n"))
              .withConnectionTimeout (request.connectTimeoutMs > 0 ? request.connectTimeoutMs : -1)
              .withNumRedirectsToFollow (juce::jmax (0, request.maxRedirects));

        const auto key = stop != nullptr ? stop->attach ([&stream] { stream.cancel(); }) : 0;

        if (stop != nullptr && key == 0)
        {
            result.failure = Failure::stopped;
            result.error = "stopped";
            return result;
        }

        const AttachedStop attached (stop, key);
        const auto wasStopped = [&] { return stop != nullptr && stop->isStopped(); };

        if (! stream.connect (nullptr) || stream.isError())
        {
            result.failure = wasStopped() ? Failure::stopped : Failure::noAnswer;
            result.error = wasStopped() ? "stopped" : "no connection to " + request.address;
            return result;
        }

        result.status = stream.getStatusCode();
        result.headers = answerHeaders (stream.getResponseHeaders());
        result.contentLength = stream.getTotalLength();
        result.contentRange = result.headers["Content-Range"];

        if (isRedirect (result.status) && result.headers.containsKey ("Location"))
        {
            result.failure = Failure::tooManyRedirects;
            result.error = "more than " + juce::String (request.maxRedirects) + " redirects";
            return result;
        }

        juce::HeapBlock<char> buffer (16384);
        bool receiverStopped = false;

        for (;;)
        {
            const auto got = stream.read (buffer.getData(), 16384);

            if (got <= 0)
                break;

            // Asked before the first piece only, as on Linux.
            if (result.bodyBytes == 0 && request.acceptAnswer && ! request.acceptAnswer (result.status, result.headers))
            {
                receiverStopped = true;
                break;
            }

            if (receiver && ! receiver (buffer.getData(), (size_t) got))
            {
                receiverStopped = true;
                break;
            }

            result.bodyBytes += got;
        }

        // A stop closes the stream; one that came after the last byte changes nothing.
        if (receiverStopped || (stream.isError() && wasStopped()))
        {
            result.failure = Failure::stopped;
            result.error = "stopped";
        }
        else if (stream.isError())
        {
            result.failure = Failure::brokenOff;
            result.error = "the connection broke off after " + juce::String (result.bodyBytes) + " bytes";
        }
        else
        {
            result.failure = Failure::none;
        }

        rejectShortBody (result);
        return result;
    }
}
