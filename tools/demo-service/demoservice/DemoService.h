#pragma once

#include "demoservice/Accounts.h"
#include "demoservice/Faults.h"
#include "demoservice/RecordedRequest.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace demoservice
{
    /** The folder the build generated the service's files into: archives,
        manuals, pictures, the application archive and the manifest. */
    std::filesystem::path defaultDataFolder();

    /** Our own implementation of the cloud service's interface, on loopback.

        It answers the API under "/api/vds/..." (sign-in with password or
        browser code, the product list, the download-location requests), serves
        the generated files under "/files/..." with Range support, the web
        pages ("/sso", "/sign-up", "/forgot-password", "/terms"), and a chain
        of N redirects under "/redirect/N" for HTTP clients. Every request
        is recorded; faults can be switched on at any time.

        start() returns once the port is bound, so a client may connect at once.
        Everything here is safe to call from any thread. */
    class DemoService
    {
    public:
        explicit DemoService (std::filesystem::path dataFolder = defaultDataFolder());
        ~DemoService();

        DemoService (const DemoService&) = delete;
        DemoService& operator= (const DemoService&) = delete;

        /** Listens on 127.0.0.1; port 0 picks a free one. False, with the reason
            in lastError(), when the data folder is unusable or the port is taken. */
        bool start (int port = 0);

        /** Stops listening, ends stalls and waits for the server thread. */
        void stop();

        bool isRunning() const;
        int port() const;
        std::string origin() const;     // "http://127.0.0.1:PORT"
        std::string apiBase() const;    // origin() + "/api"
        std::string lastError() const;

        // ---- recorded traffic
        std::vector<RecordedRequest> requests() const;
        std::vector<RecordedRequest> requestsTo (const std::string& path) const;
        void clearRequests();

        /** Called after each request has been answered (on a server thread). */
        void onRequest (std::function<void (const RecordedRequest&)> callback);

        // ---- faults
        Faults& faults();

        // ---- accounts
        struct Credentials
        {
            std::string email;
            std::string password;
        };

        Credentials demoAccount() const;     // the customer account of the manifest
        Credentials staffAccount() const;    // the account at the staff domain
        Accounts& accounts();

        std::string issueSignInCode (const std::string& email) { return accounts().issueSignInCode (email); }
        std::string issueToken (const std::string& email)      { return accounts().issueToken (email); }
        void revokeToken (const std::string& token)            { accounts().revokeToken (token); }

        // ---- catalogue
        /** Makes the catalogue offer another build the manifest lists for the
            product (its current one or a "previous" one). False if unknown. */
        bool offerBuild (const std::string& productName, const std::string& version, const std::string& build);

        /** The product's "contents" list, in order; empty for an unknown product. */
        std::vector<std::string> contentsOf (const std::string& productName) const;

        /** The catalogue array for an account, as served (origin-dependent addresses included). */
        std::string catalogueJson (const std::string& email) const;

        // ---- files
        std::filesystem::path dataFolder() const;
        std::filesystem::path archiveFile (const std::string& productName) const;   // of the offered build
        std::filesystem::path manualFile (const std::string& productName) const;
        std::filesystem::path appArchiveFile() const;
        std::string appVersion() const;
        std::string appBuild() const;

        /** Serves the files of a folder under "/extra/<name>" (benchmarks, tests). */
        void serveExtraFolder (const std::filesystem::path& folder);

        // ---- control by another process (ControlApi.h)
        struct ControlAnswer
        {
            int status = 200;
            std::string body;
            std::string contentType = "application/json";
        };

        using ControlHandler = std::function<ControlAnswer (const std::string& method, const std::string& path, const std::string& body)>;

        /** The path prefix of the control endpoints; the service's interface never uses it. */
        static constexpr const char* controlPrefix = "/_control/";

        /** Answers every request below controlPrefix with the handler, before
            faults and outside the recorded traffic, so that a test can always
            reach it. Takes effect at the next start(). */
        void setControlHandler (ControlHandler handler);

        /** Back to a fresh service's state, for the next test of a shared one:
            no faults, no recorded requests, no extra folders, no live tokens,
            the manifest's builds offered and its passwords, the usual code lifetime. */
        void reset();

    private:
        struct Impl;
        std::unique_ptr<Impl> impl;
    };
}
