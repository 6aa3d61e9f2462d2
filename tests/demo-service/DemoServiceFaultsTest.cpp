#include "demo-service/DemoServiceFixture.h"

#include <future>
#include <thread>

using namespace std::chrono_literals;

namespace
{
    /** One download as the bytes arrived: what came, when, and how it ended. */
    struct Download
    {
        int status = 0;
        httplib::Error error = httplib::Error::Success;
        std::string body;
        std::vector<std::pair<std::size_t, std::chrono::steady_clock::time_point>> arrivals;
        httplib::Headers headers;

        /** The byte count at which the longest pause between arrivals began, and its length. */
        std::pair<std::size_t, std::chrono::milliseconds> longestPause() const
        {
            std::pair<std::size_t, std::chrono::milliseconds> longest { 0, 0ms };
            for (std::size_t i = 1; i < arrivals.size(); ++i)
            {
                const auto gap = std::chrono::duration_cast<std::chrono::milliseconds> (arrivals[i].second - arrivals[i - 1].second);
                if (gap > longest.second)
                    longest = { arrivals[i - 1].first, gap };
            }
            return longest;
        }
    };

    Download download (httplib::Client client, const std::string& path, const httplib::Headers& headers = {},
                       std::atomic<std::size_t>* progress = nullptr)
    {
        Download d;
        d.arrivals.emplace_back (0, std::chrono::steady_clock::now());

        auto result = client.Get (path, headers,
                                  [&d] (const httplib::Response& response)
                                  {
                                      d.status = response.status;
                                      d.headers = response.headers;
                                      return true;
                                  },
                                  [&d, progress] (const char* data, std::size_t length)
                                  {
                                      d.body.append (data, length);
                                      d.arrivals.emplace_back (d.body.size(), std::chrono::steady_clock::now());
                                      if (progress != nullptr)
                                          *progress = d.body.size();
                                      return true;
                                  });

        d.error = result.error();
        return d;
    }

    std::string header (const Download& d, const std::string& name)
    {
        const auto it = d.headers.find (name);
        return it == d.headers.end() ? std::string() : it->second;
    }

    bool waitUntil (const std::function<bool()>& condition, std::chrono::milliseconds limit = 5000ms)
    {
        const auto until = std::chrono::steady_clock::now() + limit;
        while (! condition())
        {
            if (std::chrono::steady_clock::now() > until)
                return false;
            std::this_thread::sleep_for (5ms);
        }
        return true;
    }

    const std::string bigArchive = "/files/archives/aurora10-1.0.2-102.zip";
}

TEST_F (DemoServiceTest, RangeRequestsResumeADownloadAfterADroppedConnection)
{
    const auto file = fileBytes (service.dataFolder() / "archives" / "aurora10-1.0.2-102.zip");
    ASSERT_GT (file.size(), 4'000'000u);
    const std::size_t cut = 1'234'567;

    service.faults().dropAfterBytes (cut, "/files/", 1);

    const auto first = download (client(), bigArchive);
    EXPECT_EQ (first.status, 200);
    EXPECT_NE (first.error, httplib::Error::Success);
    ASSERT_EQ (first.body.size(), cut);
    EXPECT_EQ (header (first, "Content-Length"), std::to_string (file.size()));
    EXPECT_EQ (header (first, "Accept-Ranges"), "bytes");

    const auto rest = download (client(), bigArchive, { { "Range", "bytes=" + std::to_string (cut) + "-" } });
    EXPECT_EQ (rest.error, httplib::Error::Success);
    EXPECT_EQ (rest.status, 206);
    EXPECT_EQ (header (rest, "Content-Range"),
               "bytes " + std::to_string (cut) + "-" + std::to_string (file.size() - 1) + "/" + std::to_string (file.size()));
    EXPECT_EQ (header (rest, "Content-Length"), std::to_string (file.size() - cut));
    EXPECT_TRUE (first.body + rest.body == file);

    const auto suffix = download (client(), bigArchive, { { "Range", "bytes=-100" } });
    EXPECT_EQ (suffix.status, 206);
    EXPECT_TRUE (suffix.body == file.substr (file.size() - 100));
}

TEST_F (DemoServiceTest, RangesPastTheEndAreUnsatisfiable)
{
    const auto size = std::filesystem::file_size (service.dataFolder() / "archives" / "aurora10-1.0.2-102.zip");

    for (const auto& range : { "bytes=" + std::to_string (size) + "-", "bytes=" + std::to_string (size + 10) + "-" + std::to_string (size + 20) })
    {
        const auto answer = download (client(), bigArchive, { { "Range", range } });
        EXPECT_EQ (answer.status, 416) << range;
        EXPECT_EQ (header (answer, "Content-Range"), "bytes */" + std::to_string (size)) << range;
        EXPECT_TRUE (answer.body.empty());
    }

    // A complete file asked to resume from its end is what a finished client sees.
    const auto last = download (client(), bigArchive, { { "Range", "bytes=" + std::to_string (size - 1) + "-" } });
    EXPECT_EQ (last.status, 206);
    EXPECT_EQ (last.body.size(), 1u);
}

TEST_F (DemoServiceTest, IgnoredRangesGiveTheWholeFile)
{
    const auto file = fileBytes (service.dataFolder() / "archives" / "mysynth-1.3.0-57.zip");
    service.faults().setIgnoreRange (true);

    const auto answer = download (client(), "/files/archives/mysynth-1.3.0-57.zip", { { "Range", "bytes=100-" } });
    EXPECT_EQ (answer.status, 200);
    EXPECT_TRUE (answer.body == file);
    EXPECT_EQ (header (answer, "Content-Range"), "");

    service.faults().clear();
    EXPECT_EQ (download (client(), "/files/archives/mysynth-1.3.0-57.zip", { { "Range", "bytes=100-" } }).status, 206);
}

TEST_F (DemoServiceTest, LatencyDelaysTheAnswersBelowItsPath)
{
    service.faults().setLatency (400ms, "/api/vds/resources");
    const auto token = signInAsCustomer();

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ (getWithToken ("/api/vds/resources/windows", token)->status, 200);
    EXPECT_GE (std::chrono::steady_clock::now() - start, 400ms);

    EXPECT_EQ (service.faults().latencyFor ("/api/vds/auth"), 0ms);
    EXPECT_EQ (service.faults().latencyFor ("/api/vds/resources/macos"), 400ms);
}

TEST_F (DemoServiceTest, AStallPausesTheBodyAtItsByteCountForItsDuration)
{
    const auto file = fileBytes (service.dataFolder() / "archives" / "mysynth-1.3.0-57.zip");
    service.faults().stallAfterBytes (1000, 500ms);

    const auto answer = download (client(), "/files/archives/mysynth-1.3.0-57.zip");
    EXPECT_EQ (answer.error, httplib::Error::Success);
    EXPECT_TRUE (answer.body == file);

    const auto [at, pause] = answer.longestPause();
    EXPECT_EQ (at, 1000u);
    EXPECT_GE (pause, 450ms);
}

TEST_F (DemoServiceTest, AnEndlessStallTimesTheClientOutUntilItIsCleared)
{
    const auto file = fileBytes (service.dataFolder() / "archives" / "mysynth-1.3.0-57.zip");
    service.faults().stallAfterBytes (700);

    const auto stalled = download (client (1), "/files/archives/mysynth-1.3.0-57.zip");
    EXPECT_NE (stalled.error, httplib::Error::Success);
    EXPECT_EQ (stalled.body.size(), 700u);

    // A stall that is under way ends when the faults are cleared.
    std::atomic<std::size_t> progress { 0 };
    auto running = std::async (std::launch::async, [&] { return download (client (30), "/files/archives/mysynth-1.3.0-57.zip", {}, &progress); });
    ASSERT_TRUE (waitUntil ([&] { return progress.load() == 700; }));
    service.faults().clear();

    ASSERT_EQ (running.wait_for (10s), std::future_status::ready);
    const auto released = running.get();
    EXPECT_EQ (released.error, httplib::Error::Success);
    EXPECT_TRUE (released.body == file);
}

TEST_F (DemoServiceTest, StoppingTheServiceEndsAStall)
{
    service.faults().stallAfterBytes (100, demoservice::Faults::untilCleared, "/files/");

    std::atomic<std::size_t> progress { 0 };
    auto running = std::async (std::launch::async, [&] { return download (client (30), "/files/archives/mysynth-1.3.0-57.zip", {}, &progress); });
    ASSERT_TRUE (waitUntil ([&] { return progress.load() == 100; }));

    const auto start = std::chrono::steady_clock::now();
    service.stop();
    EXPECT_LT (std::chrono::steady_clock::now() - start, 5s);

    ASSERT_EQ (running.wait_for (10s), std::future_status::ready);
    EXPECT_NE (running.get().error, httplib::Error::Success);
}

TEST_F (DemoServiceTest, DroppedConnectionsCutTheBodyShortForTheGivenCount)
{
    const auto file = fileBytes (service.dataFolder() / "archives" / "mysynth-1.3.0-57.zip");
    service.faults().dropAfterBytes (1500, "/files/archives/", 2);

    for (int i = 0; i < 2; ++i)
    {
        const auto cut = download (client(), "/files/archives/mysynth-1.3.0-57.zip");
        EXPECT_NE (cut.error, httplib::Error::Success);
        EXPECT_EQ (cut.body.size(), 1500u);
    }

    const auto whole = download (client(), "/files/archives/mysynth-1.3.0-57.zip");
    EXPECT_EQ (whole.error, httplib::Error::Success);
    EXPECT_TRUE (whole.body == file);

    // Body faults can reach API answers too, when their path says so.
    service.faults().dropAfterBytes (5, "/api/vds/auth");
    const auto account = service.demoAccount();
    const auto signIn = client().Post ("/api/vds/auth", "{\"email\": \"" + account.email + "\", \"password\": \"" + account.password + "\"}", "application/json");
    EXPECT_FALSE (signIn);
}

TEST_F (DemoServiceTest, ForcedAnswersReplaceTheNormalOnes)
{
    const auto token = signInAsCustomer();
    const auto list = [&] { return getWithToken ("/api/vds/resources/windows", token); };

    service.faults().forceUnauthorized ("/api/vds/resources", 1);
    const auto unauthorized = list();
    EXPECT_EQ (unauthorized->status, 401);
    EXPECT_TRUE (parseJson (unauthorized->body).isObject());
    EXPECT_EQ (list()->status, 200);   // spent

    service.faults().forceUpdateRequired ("/api/vds/resources");
    const auto update = list();
    EXPECT_EQ (update->status, 403);
    const auto url = parseJson (update->body)["url"].toString().toStdString();
    EXPECT_EQ (url, service.origin() + "/files/app/app.zip");
    EXPECT_EQ (client().Get (pathOf (url))->body, fileBytes (service.appArchiveFile()));

    service.faults().forceUpdateRequired ("/api/vds/resources", "http://example.invalid/app.zip");
    EXPECT_EQ (parseJson (list()->body)["url"].toString(), "http://example.invalid/app.zip");

    service.faults().forceServerError ("/api/vds/resources");
    const auto error = list();
    EXPECT_EQ (error->status, 500);
    EXPECT_EQ (error->get_header_value ("Content-Type"), "text/html; charset=utf-8");
    EXPECT_EQ (error->body.rfind ("<!DOCTYPE html>", 0), 0u);
    EXPECT_TRUE (parseJson (error->body).isVoid());

    service.faults().forceNonJsonBody ("/api/vds/resources");
    const auto notJson = list();
    EXPECT_EQ (notJson->status, 200);
    EXPECT_TRUE (parseJson (notJson->body).isVoid());

    // Other paths are untouched, and clear() ends them all.
    EXPECT_EQ (postJson ("/api/vds/getManualResourceURL", "{\"name\": \"mysynth\"}", token)->status, 200);
    service.faults().clear();
    EXPECT_EQ (list()->status, 200);
    EXPECT_EQ (service.requestsTo ("/api/vds/resources/windows").back().status, 200);
}

TEST_F (DemoServiceTest, FilesOutsideTheServedFoldersAreNotFound)
{
    for (const auto* path : { "/files/archives/..", "/files/archives/../catalogue.json", "/files/archives/%2e%2e%2fcatalogue.json",
                              "/files/other/catalogue.json", "/files/archives/nosuch.zip", "/extra/catalogue.json" })
        EXPECT_EQ (client().Get (path)->status, 404) << path;

    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("demo-extra", {}, false);
    ASSERT_TRUE (folder.createDirectory());
    ASSERT_TRUE (folder.getChildFile ("big.bin").replaceWithText ("0123456789"));
    service.serveExtraFolder (folder.getFullPathName().toStdString());

    const auto extra = download (client(), "/extra/big.bin", { { "Range", "bytes=4-" } });
    EXPECT_EQ (extra.status, 206);
    EXPECT_EQ (extra.body, "456789");
    folder.deleteRecursively();
}

TEST_F (DemoServiceTest, APortInUseIsRefusedAndTheServiceRestarts)
{
    demoservice::DemoService second;
    EXPECT_FALSE (second.start (service.port()));
    EXPECT_FALSE (second.lastError().empty());
    EXPECT_FALSE (service.start (0));   // already running

    service.stop();
    EXPECT_FALSE (service.isRunning());
    ASSERT_TRUE (service.start (0)) << service.lastError();
    EXPECT_EQ (client().Get ("/terms")->status, 200);

    demoservice::DemoService missing ("/nonexistent/folder");
    EXPECT_FALSE (missing.start (0));
    EXPECT_NE (missing.lastError().find ("catalogue.json"), std::string::npos);
}
