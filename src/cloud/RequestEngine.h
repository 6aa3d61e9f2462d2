#pragma once

#include "cloud/VamretResponse.h"
#include "platform/HttpTransferStop.h"

#include <atomic>

/** Raised by any 401 answer, on whatever thread it arrives; the main
    component polls it and clears it after a successful sign-in. */
extern std::atomic<bool> tokenRejected;

namespace RequestEngine
{
    inline constexpr int timeoutMs = 10000;
    inline constexpr int maxRedirects = 5;

    /** GET, or POST with the URL's POST data. */
    enum class Method { get = 0, post = 1 };

    /** What a request carries: a JSON body (the only kind that sends a
        content type), a token check, or the catalogue request. */
    enum class BodyKind { json = 0, tokenCheck = 1, catalogue = 2 };

    /** The extra request headers, one per line, separated by "\n":
        content type (BodyKind::json only), authorization (token only), the
        application version, and the platform. */
    juce::String requestHeaders (BodyKind bodyKind, const juce::String& token);

    /** "Windows", or "macOS" on a Mac. */
    juce::String platformName();

    /** Interrupts a request under way on another thread (used at shutdown). */
    class Cancellation
    {
    public:
        void cancel()                            { transferStop.stop(); }
        bool isCancelled() const noexcept        { return transferStop.isStopped(); }

        /** Handed by performRequest to the transport. */
        HttpTransferStop& stop() noexcept        { return transferStop; }

    private:
        HttpTransferStop transferStop;
    };
}

/** Sends one request and reads the whole answer. Blocks the calling thread
    until the answer has arrived or the connection failed (status 0).
    Method::post sends the URL's POST data; BodyKind::json adds the JSON
    content type. Logs the raw body; a 401 raises tokenRejected and a 403
    with a "url" starts the forced self-update. */
VamretResponse performRequest (const juce::URL& url, RequestEngine::Method method,
                               RequestEngine::BodyKind bodyKind, int timeoutMs,
                               const juce::String& token,
                               RequestEngine::Cancellation* cancellation = nullptr);
