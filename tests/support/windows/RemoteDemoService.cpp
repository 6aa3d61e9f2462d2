// demoservice::DemoService for the Windows tests: the same interface as the
// in-process service on Linux, answered by the native service that ctest
// started for the whole run. start() resets it, so every test begins from a
// fresh service; stop() only lets go of it, since the next test needs it too.

#include "support/windows/RemoteDemoServiceControl.h"

#include <demoservice/DemoService.h>

#include <cstdio>
#include <cstdlib>

namespace demoservice
{
namespace rds = remotedemoservice;

namespace
{
    std::string text (const juce::var& value)      { return value.toString().toStdString(); }
    juce::var str (const std::string& value)       { return juce::String (value); }

    std::filesystem::path pathFrom (const juce::var& answer)
    {
        return rds::fromNativePath (text (answer["path"]));
    }

    std::vector<RecordedRequest> recordedFrom (const juce::var& list)
    {
        std::vector<RecordedRequest> out;

        if (auto* items = list.getArray())
        {
            for (const auto& item : *items)
            {
                RecordedRequest r;
                r.method = text (item["method"]);
                r.path = text (item["path"]);
                r.target = text (item["target"]);
                r.body = text (item["body"]);
                r.status = (int) item["status"];

                if (auto* headers = item["headers"].getArray())
                    for (const auto& pair : *headers)
                        r.headers.emplace_back (text (pair[0]), text (pair[1]));

                out.push_back (std::move (r));
            }
        }

        return out;
    }

    [[noreturn]] void unavailable (const char* what)
    {
        std::fprintf (stderr, "demoservice::DemoService::%s cannot reach into the native service from Windows\n", what);
        std::abort();
    }
}

std::filesystem::path defaultDataFolder()
{
    return {};
}

std::string RecordedRequest::header (const std::string& name) const
{
    for (const auto& [key, value] : headers)
        if (juce::String (key).equalsIgnoreCase (juce::String (name)))
            return value;

    return {};
}

bool RecordedRequest::hasHeader (const std::string& name) const
{
    for (const auto& entry : headers)
        if (juce::String (entry.first).equalsIgnoreCase (juce::String (name)))
            return true;

    return false;
}

struct DemoService::Impl
{
    Faults faults;
    Accounts accounts { "" };
    std::atomic<bool> running { false };
    std::string origin;
    std::string error;

    /** The service's fixed facts, asked once. */
    const juce::var& info()
    {
        if (! facts.isObject())
            facts = rds::call ("info");
        return facts;
    }

private:
    juce::var facts;
};

DemoService::DemoService (std::filesystem::path)
    : impl (std::make_unique<Impl>())
{
}

DemoService::~DemoService() = default;

bool DemoService::start (int)
{
    if (impl->running)
    {
        impl->error = "already running";
        return false;
    }

    std::string error;
    rds::tryCall ("reset", rds::object ({}), error);

    if (! error.empty())
    {
        impl->error = error;
        return false;
    }

    impl->origin = rds::origin();
    impl->running = true;
    return true;
}

void DemoService::stop()
{
    // As stopping the service would, this ends stalls that still hold a transfer.
    if (impl->running.exchange (false))
    {
        std::string ignored;
        rds::tryCall ("faults/clear", rds::object ({}), ignored);
    }
}

bool DemoService::isRunning() const      { return impl->running; }
int DemoService::port() const            { return isRunning() ? juce::URL (juce::String (impl->origin)).getPort() : 0; }
std::string DemoService::origin() const  { return "http://127.0.0.1:" + std::to_string (port()); }
std::string DemoService::apiBase() const { return origin() + "/api"; }
std::string DemoService::lastError() const { return impl->error; }

std::vector<RecordedRequest> DemoService::requests() const
{
    return recordedFrom (rds::call ("requests"));
}

std::vector<RecordedRequest> DemoService::requestsTo (const std::string& path) const
{
    return recordedFrom (rds::call ("requests", rds::object ({ { "path", str (path) } })));
}

void DemoService::clearRequests()   { rds::call ("clearRequests"); }
void DemoService::reset()           { rds::call ("reset"); }

// Both run code inside the service, which lives in another process.
void DemoService::onRequest (std::function<void (const RecordedRequest&)>)   { unavailable ("onRequest"); }
void DemoService::setControlHandler (ControlHandler)                         { unavailable ("setControlHandler"); }

Faults& DemoService::faults()      { return impl->faults; }
Accounts& DemoService::accounts()  { return impl->accounts; }

DemoService::Credentials DemoService::demoAccount() const
{
    const auto& account = impl->info()["demoAccount"];
    return { text (account["email"]), text (account["password"]) };
}

DemoService::Credentials DemoService::staffAccount() const
{
    const auto& account = impl->info()["staffAccount"];
    return { text (account["email"]), text (account["password"]) };
}

bool DemoService::offerBuild (const std::string& productName, const std::string& version, const std::string& build)
{
    return (bool) rds::call ("offerBuild", rds::object ({ { "product", str (productName) }, { "version", str (version) },
                                                          { "build", str (build) } }))["ok"];
}

std::vector<std::string> DemoService::contentsOf (const std::string& productName) const
{
    std::vector<std::string> out;
    const auto list = rds::call ("contentsOf", rds::object ({ { "product", str (productName) } }));

    if (auto* items = list.getArray())
        for (const auto& item : *items)
            out.push_back (text (item));

    return out;
}

std::string DemoService::catalogueJson (const std::string& email) const
{
    return text (rds::call ("catalogueJson", rds::object ({ { "email", str (email) } }))["catalogue"]);
}

std::filesystem::path DemoService::dataFolder() const { return rds::fromNativePath (text (impl->info()["dataFolder"])); }

std::filesystem::path DemoService::archiveFile (const std::string& productName) const
{
    return pathFrom (rds::call ("archiveFile", rds::object ({ { "product", str (productName) } })));
}

std::filesystem::path DemoService::manualFile (const std::string& productName) const
{
    return pathFrom (rds::call ("manualFile", rds::object ({ { "product", str (productName) } })));
}

std::filesystem::path DemoService::appArchiveFile() const { return pathFrom (rds::call ("appArchiveFile")); }
std::string DemoService::appVersion() const              { return text (impl->info()["appVersion"]); }
std::string DemoService::appBuild() const                { return text (impl->info()["appBuild"]); }

void DemoService::serveExtraFolder (const std::filesystem::path& folder)
{
    rds::call ("serveExtraFolder", rds::object ({ { "path", str (rds::toNativePath (folder)) } }));
}
}
