#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace demoservice
{
    /** Failures the demo service produces on demand. Tests set them through
        this object, the executable through its command-line options. Every
        setter is safe to call while requests are being served; a request
        takes the faults that are set when it arrives.

        Paths are matched as prefixes of the request path ("/api/vds/auth",
        "/files/"); an empty prefix matches every request. A fault given a
        count fires for that many requests and is then spent. */
    class Faults
    {
    public:
        static constexpr int always = -1;
        static constexpr std::chrono::milliseconds untilCleared { -1 };

        /** Every matching request waits this long before it is answered. */
        void setLatency (std::chrono::milliseconds delay, const std::string& pathPrefix = {});

        /** After this many bytes of a matching response body, nothing more is
            sent for the given time (or until clear() or stop), then the rest. */
        void stallAfterBytes (std::uint64_t bytes, std::chrono::milliseconds duration = untilCleared,
                              const std::string& pathPrefix = "/files/", int times = always);

        /** After this many bytes of a matching response body the connection is
            closed, although the announced length was larger. */
        void dropAfterBytes (std::uint64_t bytes, const std::string& pathPrefix = "/files/", int times = always);

        /** Range headers are ignored: files come back whole with status 200. */
        void setIgnoreRange (bool ignore);

        /** Matching requests are answered with this status and body instead of
            their normal answer. "{origin}" in the body becomes the service's origin. */
        void forceStatus (const std::string& pathPrefix, int status, std::string body,
                          std::string contentType = "application/json", int times = always);

        /** 401 with a small JSON body, as for a revoked token. */
        void forceUnauthorized (const std::string& pathPrefix, int times = always);

        /** 403 whose JSON body carries "url": the forced self-update. An empty
            url names the service's own application archive. */
        void forceUpdateRequired (const std::string& pathPrefix, const std::string& url = {}, int times = always);

        /** 500 with an HTML body. */
        void forceServerError (const std::string& pathPrefix, int times = always);

        /** 200 with a body that is not JSON. */
        void forceNonJsonBody (const std::string& pathPrefix, int times = always);

        /** Removes every fault and releases running stalls. */
        void clear();

        // Read by the service for each request.
        struct ForcedAnswer
        {
            int status = 200;
            std::string body;
            std::string contentType;
        };

        struct BodyFaults
        {
            std::optional<std::uint64_t> stallAt;
            std::chrono::milliseconds stallFor { 0 };
            std::optional<std::uint64_t> dropAt;
        };

        std::chrono::milliseconds latencyFor (const std::string& path) const;
        std::optional<ForcedAnswer> takeForcedAnswer (const std::string& path);
        BodyFaults takeBodyFaults (const std::string& path);
        bool ignoresRange() const;

        /** Changes on every clear(); a stall ends when it sees a new value. */
        std::uint64_t generation() const;

    private:
        struct ByteRule
        {
            bool set = false;
            std::uint64_t bytes = 0;
            std::chrono::milliseconds duration { 0 };
            std::string pathPrefix;
            int remaining = always;
        };

        struct ForcedRule
        {
            std::string pathPrefix;
            ForcedAnswer answer;
            int remaining = always;
        };

        static bool matches (const std::string& prefix, const std::string& path);
        static bool take (int& remaining);

        mutable std::mutex lock;
        std::chrono::milliseconds latency { 0 };
        std::string latencyPrefix;
        ByteRule stall, drop;
        bool ignoreRange = false;
        std::vector<ForcedRule> forced;
        std::atomic<std::uint64_t> clears { 0 };
    };
}
