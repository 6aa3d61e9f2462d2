// The demo service as a process: for the demo command, scripts and benchmarks.
// Prints "listening on http://127.0.0.1:PORT" once it accepts connections and
// runs until SIGINT or SIGTERM.

#include "demoservice/ControlApi.h"
#include "demoservice/DemoService.h"

#include <pthread.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

using namespace demoservice;

namespace
{
    const char* const usage =
        "usage: vamrhelper-demo-service [options]\n"
        "  --port N                 port on 127.0.0.1 (0, the default, picks a free one)\n"
        "  --data DIR               generated files and manifest (default: the build's)\n"
        "  --extra-dir DIR          also serve the files of DIR under /extra/<name>\n"
        "  --accounts               print the accounts (e-mail and password) and exit\n"
        "  --log                    print every request on standard error\n"
        "  --control                answer the control endpoints under /_control/ (tests in another process)\n"
        "faults:\n"
        "  --latency MS[:PATH]      answer requests (below PATH) after MS milliseconds\n"
        "  --stall-after N[:MS]     stop sending a file after N bytes, for MS ms (default: for ever)\n"
        "  --drop-after N           close the connection after N bytes of a file\n"
        "  --ignore-range           answer Range requests with the whole file (200)\n"
        "  --force PATH=STATUS      answer requests below PATH with STATUS\n"
        "                           (401 unauthorized, 403 with \"url\", 500 with HTML, others JSON)\n"
        "  --non-json PATH          answer requests below PATH with 200 and a body that is not JSON\n";

    bool parseNumber (const std::string& text, long long& value)
    {
        char* end = nullptr;
        value = std::strtoll (text.c_str(), &end, 10);
        return ! text.empty() && end != nullptr && *end == '\0' && value >= 0;
    }

    /** "A:B" split at the first colon; B empty when there is none. */
    std::pair<std::string, std::string> splitAt (const std::string& text, char separator)
    {
        const auto at = text.find (separator);
        if (at == std::string::npos)
            return { text, {} };
        return { text.substr (0, at), text.substr (at + 1) };
    }
}

int main (int argc, char** argv)
{
    int port = 0;
    std::filesystem::path data = defaultDataFolder();
    std::vector<std::filesystem::path> extraFolders;
    bool printAccounts = false, logRequests = false, control = false;
    std::vector<std::function<bool (Faults&)>> faultSetters;

    for (int i = 1; i < argc; ++i)
    {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        const std::string value = hasValue ? argv[i + 1] : std::string();
        long long number = 0;

        const auto fail = [&option]
        {
            std::cerr << "bad or missing value for " << option << "\n" << usage;
            return 2;
        };

        if (option == "--help" || option == "-h")
        {
            std::cout << usage;
            return 0;
        }
        else if (option == "--accounts")      { printAccounts = true; }
        else if (option == "--log")           { logRequests = true; }
        else if (option == "--control")       { control = true; }
        else if (option == "--ignore-range")  { faultSetters.push_back ([] (Faults& f) { f.setIgnoreRange (true); return true; }); }
        else if (! hasValue)                  { return fail(); }
        else
        {
            ++i;

            if (option == "--port")
            {
                if (! parseNumber (value, number) || number > 65535)
                    return fail();
                port = static_cast<int> (number);
            }
            else if (option == "--data")      { data = value; }
            else if (option == "--extra-dir") { extraFolders.emplace_back (value); }
            else if (option == "--latency")
            {
                const auto [ms, path] = splitAt (value, ':');
                if (! parseNumber (ms, number))
                    return fail();
                faultSetters.push_back ([delay = number, prefix = path] (Faults& f) { f.setLatency (std::chrono::milliseconds (delay), prefix); return true; });
            }
            else if (option == "--stall-after")
            {
                const auto [bytes, ms] = splitAt (value, ':');
                long long duration = -1;
                if (! parseNumber (bytes, number) || (! ms.empty() && ! parseNumber (ms, duration)))
                    return fail();
                faultSetters.push_back ([n = number, duration] (Faults& f)
                {
                    f.stallAfterBytes (static_cast<std::uint64_t> (n), std::chrono::milliseconds (duration));
                    return true;
                });
            }
            else if (option == "--drop-after")
            {
                if (! parseNumber (value, number))
                    return fail();
                faultSetters.push_back ([n = number] (Faults& f) { f.dropAfterBytes (static_cast<std::uint64_t> (n)); return true; });
            }
            else if (option == "--force")
            {
                const auto [path, statusText] = splitAt (value, '=');
                if (path.empty() || ! parseNumber (statusText, number) || number < 100 || number > 599)
                    return fail();
                faultSetters.push_back ([path = path, status = static_cast<int> (number)] (Faults& f)
                {
                    if (status == 401)       f.forceUnauthorized (path);
                    else if (status == 403)  f.forceUpdateRequired (path);
                    else if (status == 500)  f.forceServerError (path);
                    else                     f.forceStatus (path, status, "{\"error\": \"forced status\"}");
                    return true;
                });
            }
            else if (option == "--non-json")
            {
                faultSetters.push_back ([path = value] (Faults& f) { f.forceNonJsonBody (path); return true; });
            }
            else
            {
                std::cerr << "unknown option " << option << "\n" << usage;
                return 2;
            }
        }
    }

    // Block the stop signals before any thread starts, so that only sigwait below sees them.
    sigset_t stopSignals;
    sigemptyset (&stopSignals);
    sigaddset (&stopSignals, SIGINT);
    sigaddset (&stopSignals, SIGTERM);
    pthread_sigmask (SIG_BLOCK, &stopSignals, nullptr);

    // A client that leaves mid-answer makes the server's write fail with
    // EPIPE; without this the signal would end the whole service.
    std::signal (SIGPIPE, SIG_IGN);

    DemoService service (data);

    if (printAccounts)
    {
        const auto demo = service.demoAccount();
        const auto staff = service.staffAccount();
        std::cout << "demo account:  " << demo.email << "  password: " << demo.password << "\n"
                  << "staff account: " << staff.email << "  password: " << staff.password << "\n";
        return demo.email.empty() ? 1 : 0;
    }

    for (auto& setter : faultSetters)
        setter (service.faults());

    for (const auto& folder : extraFolders)
        service.serveExtraFolder (folder);

    if (logRequests)
        service.onRequest ([] (const RecordedRequest& r)
        {
            std::cerr << r.method << " " << r.target << " -> " << r.status << std::endl;
        });

    if (control)
        enableControl (service);

    if (! service.start (port))
    {
        std::cerr << "demo service: " << service.lastError() << std::endl;
        return 1;
    }

    std::cout << "listening on " << service.origin() << std::endl;

    int received = 0;
    sigwait (&stopSignals, &received);

    service.stop();
    return 0;
}
