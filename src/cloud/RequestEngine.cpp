#include "cloud/RequestEngine.h"

#include "log/DiagnosticLog.h"
#include "cloud/ForcedUpdate.h"

std::atomic<bool> tokenRejected { false };

namespace RequestEngine
{
    juce::String platformName()
    {
        return juce::SystemStats::getOperatingSystemName().containsIgnoreCase ("mac") ? "macOS" : "Windows";
    }

    juce::String requestHeaders (BodyKind bodyKind, const juce::String& token)
    {
        juce::String headers;

        if (bodyKind == BodyKind::json)
            headers << "Content-Type: application/json";

        if (token.isNotEmpty())
        {
            if (headers.isNotEmpty())
                headers << "\n";

            headers << "Authorization: Bearer " << token;
        }

        const auto version = juce::String (VAMRHELPER_VERSION_STRING);

        if (version.isNotEmpty())
            headers << "\nvds-version: " << version;

        headers << "\nplatform: " << platformName();
        return headers;
    }

    void Cancellation::cancel()
    {
        const std::lock_guard<std::mutex> guard (lock);
        cancelled = true;

        if (current != nullptr)
            current->cancel();
    }

    void Cancellation::attach (juce::WebInputStream* stream)
    {
        const std::lock_guard<std::mutex> guard (lock);
        current = stream;
    }
}

namespace
{
    void applyStatusRules (const VamretResponse& response)
    {
        if (response.status == 401)
            tokenRejected = true;

        if (response.status == 403)
            requestForcedUpdate (response.json.getProperty ("url", juce::var()).toString());
    }
}

VamretResponse performRequest (const juce::URL& url, RequestEngine::Method method,
                               RequestEngine::BodyKind bodyKind, int timeoutMs,
                               const juce::String& token, RequestEngine::Cancellation* cancellation)
{
    VamretResponse response;

    juce::WebInputStream stream (url, method == RequestEngine::Method::post);
    stream.withExtraHeaders (RequestEngine::requestHeaders (bodyKind, token))
          .withConnectionTimeout (timeoutMs)
          .withNumRedirectsToFollow (RequestEngine::maxRedirects);

    if (cancellation != nullptr)
    {
        cancellation->attach (&stream);

        if (cancellation->isCancelled())
        {
            cancellation->attach (nullptr);
            return response;
        }
    }

    const auto detach = [cancellation] { if (cancellation != nullptr) cancellation->attach (nullptr); };

    if (! stream.connect (nullptr) || stream.isError())
    {
        detach();
        return response;
    }

    juce::MemoryOutputStream body;
    body.writeFromInputStream (stream, -1);
    const auto expected = stream.getTotalLength();
    const bool cutShort = stream.isError() || (expected >= 0 && (juce::int64) body.getDataSize() < expected);
    const auto status = stream.getStatusCode();
    detach();

    const auto text = body.toString();

    if (cutShort)
    {
        // A body that broke off is no answer: callers must not read a
        // half-received 200 as success.
        writeLog ("extralog, answer cut short for " + url.toString (true) + ": got "
                  + juce::String ((juce::int64) body.getDataSize()) + " of " + juce::String (expected) + " bytes");
        return response;
    }

    response.status = status;
    response.json = juce::JSON::parse (text);
    writeLog ("raw json for " + url.toString (true) + ": <" + text + ">");

    applyStatusRules (response);
    return response;
}
