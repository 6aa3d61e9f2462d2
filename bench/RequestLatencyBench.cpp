// Round trip of one small request on loopback through performRequest, next
// to curl on the same address.
//
//   bench_request_latency [requests]

#include "cloud/ServiceConfig.h"
#include "cloud/RequestEngine.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <demoservice/DemoService.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace
{
    using Clock = std::chrono::steady_clock;

    double median (std::vector<double> values)
    {
        std::sort (values.begin(), values.end());
        return values[values.size() / 2];
    }

    void report (const char* what, std::vector<double> ms)
    {
        std::sort (ms.begin(), ms.end());
        std::printf ("%-28s min %7.2f  median %7.2f  max %7.2f ms\n", what, ms.front(), median (ms), ms.back());
    }
}

int main (int argc, char** argv)
{
    const int count = argc > 1 ? std::max (1, std::atoi (argv[1])) : 30;
    juce::ScopedJuceInitialiser_GUI juce;

    demoservice::DemoService service;

    if (! service.start (0))
    {
        std::printf ("the demo service did not start: %s\n", service.lastError().c_str());
        return 1;
    }

    const auto token = juce::String (service.issueToken (service.demoAccount().email));
    const juce::String address = juce::String (service.apiBase()) + "/vds/getLatestInternalVDS";

    std::vector<double> ours, theirs;

    for (int i = 0; i < count; ++i)
    {
        const auto start = Clock::now();
        const auto answer = performRequest (juce::URL (address), RequestEngine::Method::get, RequestEngine::BodyKind::json, 10000, token);
        ours.push_back (std::chrono::duration<double, std::milli> (Clock::now() - start).count());

        if (answer.status != 200)
        {
            std::printf ("unexpected status %d\n", answer.status);
            return 1;
        }
    }

    for (int i = 0; i < count; ++i)
    {
        juce::ChildProcess curl;
        const auto start = Clock::now();
        curl.start (juce::StringArray { "curl", "-s", "-o", "/dev/null", "-w", "%{time_total}",
                                        "-H", "Authorization: Bearer " + token, address });
        const auto seconds = curl.readAllProcessOutput().getDoubleValue();
        curl.waitForProcessToFinish (10000);
        juce::ignoreUnused (start);
        theirs.push_back (seconds * 1000.0);
    }

    std::printf ("%d requests of GET %s\n", count, address.toRawUTF8());
    report ("performRequest", ours);
    report ("curl (time_total)", theirs);
    std::printf ("ratio of medians: %.3f\n", median (ours) / std::max (0.001, median (theirs)));
    service.stop();
    return 0;
}
