#include "demoservice/Faults.h"

namespace demoservice
{
bool Faults::matches (const std::string& prefix, const std::string& path)
{
    return path.compare (0, prefix.size(), prefix) == 0;
}

bool Faults::take (int& remaining)
{
    if (remaining == 0)
        return false;

    if (remaining > 0)
        --remaining;

    return true;
}

void Faults::setLatency (std::chrono::milliseconds delay, const std::string& pathPrefix)
{
    const std::lock_guard<std::mutex> guard (lock);
    latency = delay;
    latencyPrefix = pathPrefix;
}

void Faults::stallAfterBytes (std::uint64_t bytes, std::chrono::milliseconds duration,
                              const std::string& pathPrefix, int times)
{
    const std::lock_guard<std::mutex> guard (lock);
    stall = { true, bytes, duration, pathPrefix, times };
}

void Faults::dropAfterBytes (std::uint64_t bytes, const std::string& pathPrefix, int times)
{
    const std::lock_guard<std::mutex> guard (lock);
    drop = { true, bytes, std::chrono::milliseconds (0), pathPrefix, times };
}

void Faults::setIgnoreRange (bool ignore)
{
    const std::lock_guard<std::mutex> guard (lock);
    ignoreRange = ignore;
}

void Faults::forceStatus (const std::string& pathPrefix, int status, std::string body,
                          std::string contentType, int times)
{
    const std::lock_guard<std::mutex> guard (lock);

    for (auto it = forced.begin(); it != forced.end(); ++it)
    {
        if (it->pathPrefix == pathPrefix)
        {
            forced.erase (it);
            break;
        }
    }

    forced.push_back ({ pathPrefix, { status, std::move (body), std::move (contentType) }, times });
}

void Faults::forceUnauthorized (const std::string& pathPrefix, int times)
{
    forceStatus (pathPrefix, 401, "{\"error\": \"unauthorized\"}", "application/json", times);
}

void Faults::forceUpdateRequired (const std::string& pathPrefix, const std::string& url, int times)
{
    const auto address = url.empty() ? std::string ("{origin}/files/app/app.zip") : url;
    forceStatus (pathPrefix, 403, "{\"error\": \"update required\", \"url\": \"" + address + "\"}",
                 "application/json", times);
}

void Faults::forceServerError (const std::string& pathPrefix, int times)
{
    forceStatus (pathPrefix, 500,
                 "<!DOCTYPE html>\n<html><head><title>500 Internal Server Error</title></head>"
                 "<body><h1>Internal Server Error</h1><p>The server had a problem.</p></body></html>\n",
                 "text/html; charset=utf-8", times);
}

void Faults::forceNonJsonBody (const std::string& pathPrefix, int times)
{
    forceStatus (pathPrefix, 200, "this is not JSON: {\"token\": ", "application/json", times);
}

void Faults::clear()
{
    const std::lock_guard<std::mutex> guard (lock);
    latency = std::chrono::milliseconds (0);
    latencyPrefix.clear();
    stall = {};
    drop = {};
    ignoreRange = false;
    forced.clear();
    ++clears;
}

std::chrono::milliseconds Faults::latencyFor (const std::string& path) const
{
    const std::lock_guard<std::mutex> guard (lock);
    return matches (latencyPrefix, path) ? latency : std::chrono::milliseconds (0);
}

std::optional<Faults::ForcedAnswer> Faults::takeForcedAnswer (const std::string& path)
{
    const std::lock_guard<std::mutex> guard (lock);

    for (auto& rule : forced)
        if (matches (rule.pathPrefix, path) && take (rule.remaining))
            return rule.answer;

    return std::nullopt;
}

Faults::BodyFaults Faults::takeBodyFaults (const std::string& path)
{
    const std::lock_guard<std::mutex> guard (lock);
    BodyFaults result;

    if (stall.set && matches (stall.pathPrefix, path) && take (stall.remaining))
    {
        result.stallAt = stall.bytes;
        result.stallFor = stall.duration;
    }

    if (drop.set && matches (drop.pathPrefix, path) && take (drop.remaining))
        result.dropAt = drop.bytes;

    return result;
}

bool Faults::ignoresRange() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return ignoreRange;
}

std::uint64_t Faults::generation() const
{
    return clears.load();
}
}
