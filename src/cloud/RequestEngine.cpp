#include "cloud/RequestEngine.h"

#include "log/DiagnosticLog.h"
#include "cloud/ForcedUpdate.h"
#include "platform/HttpTransport.h"

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

    const bool post = method == RequestEngine::Method::post;

    HttpTransport::Request request;
    request.address = url.toString (true);
    request.method = post ? HttpTransport::Method::post : HttpTransport::Method::get;
    request.headers = juce::StringArray::fromLines (RequestEngine::requestHeaders (bodyKind, token));
    request.connectTimeoutMs = timeoutMs;
    request.readTimeoutMs = timeoutMs;
    request.maxRedirects = RequestEngine::maxRedirects;

    if (post)
        request.body = url.getPostDataAsMemoryBlock();

    juce::MemoryBlock body;
    const auto result = HttpTransport::performIntoMemory (request, body, cancellation != nullptr ? &cancellation->stop() : nullptr);

    if (result.status == 0 || result.failure == HttpTransport::Failure::tooManyRedirects)
        return response;

    if (! result.isComplete())
    {
        // A body that broke off is no answer: callers must not read a
        // half-received 200 as success.
        writeLog ("extralog, answer cut short for " + url.toString (true) + ": got "
                  + juce::String ((juce::int64) body.getSize()) + " of " + juce::String (result.contentLength) + " bytes");
        return response;
    }

    const auto text = body.toString();
    response.status = result.status;
    response.json = juce::JSON::parse (text);
    writeLog ("raw json for " + url.toString (true) + ": <" + text + ">");

    applyStatusRules (response);
    return response;
}
