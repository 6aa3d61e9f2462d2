// The HTTP transport against the demo service on loopback: what it sends,
// what it reports, and how each kind of failure comes back.

#include "platform/HttpTransport.h"
#include "support/DemoServiceFixture.h"

#include <chrono>
#include <future>
#include <thread>

using namespace std::chrono_literals;
using HttpTransport::Failure;

namespace
{
    constexpr int patternSize = 3000;

    /** Bytes whose every offset differs from its neighbours, so a range
        that starts in the wrong place cannot match. */
    juce::MemoryBlock pattern()
    {
        juce::MemoryBlock bytes (patternSize);

        for (int i = 0; i < patternSize; ++i)
            static_cast<char*> (bytes.getData())[i] = (char) ((i * 7 + i / 256) & 0xff);

        return bytes;
    }

    class HttpTransportService : public DemoServiceFixture
    {
    protected:
        void SetUp() override
        {
            DemoServiceFixture::SetUp();
            const auto folder = sandbox.root().getChildFile ("served");
            ASSERT_TRUE (folder.createDirectory());
            ASSERT_TRUE (folder.getChildFile ("pattern.bin").replaceWithData (pattern().getData(), pattern().getSize()));
            service.serveExtraFolder (folder.getFullPathName().toStdString());
        }

        HttpTransport::Request get (const std::string& path) const
        {
            HttpTransport::Request request;
            request.address = service.origin() + path;
            return request;
        }

        /** The pattern file with a stall at the given offset that lasts until the faults are cleared. */
        HttpTransport::Request stalledPattern (std::uint64_t stallAt)
        {
            service.faults().stallAfterBytes (stallAt, demoservice::Faults::untilCleared, "/extra/");
            return get ("/extra/pattern.bin");
        }
    };
}

TEST_F (HttpTransportService, StatusAndBodyOfTheFinalAnswer)
{
    const auto token = "Authorization: Bearer " + demoToken();
    const auto account = service.demoAccount();
    const auto signIn = R"({"email": ")" + account.email + R"(", "password": ")" + account.password + R"("})";

    struct Case
    {
        const char* what;
        HttpTransport::Method method;
        std::string path;
        juce::String header;
        std::string body;
        int status;
        const char* bodyHas;
    };

    const Case cases[] {
        { "GET with token",       HttpTransport::Method::get,  "/api/vds/getLatestInternalVDS", token, {}, 200, "\"version\"" },
        { "GET without token",    HttpTransport::Method::get,  "/api/vds/getLatestInternalVDS", {},    {}, 401, "unauthorized" },
        { "unknown page",         HttpTransport::Method::get,  "/no/such/page",                 {},    {}, 404, "<html" },
        { "POST, right password", HttpTransport::Method::post, "/api/vds/auth",                 {},    signIn, 200, "\"token\"" },
        { "POST, not JSON",       HttpTransport::Method::post, "/api/vds/auth",                 {},    "x", 400, "not a JSON object" },
    };

    for (const auto& c : cases)
    {
        auto request = get (c.path);
        request.method = c.method;
        request.body.append (c.body.data(), c.body.size());

        if (c.header.isNotEmpty())
            request.headers.add (c.header);

        juce::MemoryBlock body;
        const auto result = HttpTransport::performIntoMemory (request, body);

        EXPECT_TRUE (result.isComplete()) << c.what << ": " << result.error;
        EXPECT_EQ (result.status, c.status) << c.what;
        EXPECT_TRUE (body.toString().contains (c.bodyHas)) << c.what << ": " << body.toString();
        EXPECT_EQ (result.bodyBytes, (juce::int64) body.getSize()) << c.what;
        EXPECT_EQ (result.contentLength, (juce::int64) body.getSize()) << c.what;
    }
}

TEST_F (HttpTransportService, SendsMethodBodyAndHeadersInTheirOrder)
{
    auto request = get ("/api/vds/auth");
    request.method = HttpTransport::Method::post;
    request.headers = { "Content-Type: application/json", "X-Order: first", "X-Order: second", "X-Order: third" };
    const std::string body = R"({"email": "x@y.z", "password": "nope"})";
    request.body.append (body.data(), body.size());

    juce::MemoryBlock answer;
    EXPECT_EQ (HttpTransport::performIntoMemory (request, answer).status, 401);

    const auto sent = onlyRequestTo ("/api/vds/auth");
    EXPECT_EQ (sent.method, "POST");
    EXPECT_EQ (sent.body, body);
    EXPECT_EQ (sent.header ("Content-Type"), "application/json");
    EXPECT_FALSE (sent.hasHeader ("Expect"));

    // The service groups headers by name; within a name the order is as sent.
    // Windows sends a repeated name as one line, its values joined by commas.
    std::vector<std::string> order;
    for (const auto& [name, value] : sent.headers)
        if (juce::String (name).equalsIgnoreCase ("X-Order"))
            for (const auto& part : juce::StringArray::fromTokens (juce::String (value), ",", {}))
                order.push_back (part.trim().toStdString());

    EXPECT_EQ (order, (std::vector<std::string> { "first", "second", "third" }));

    // A GET sends no body and no content type of its own.
    service.clearRequests();
    HttpTransport::performIntoMemory (get ("/api/vds/resources/windows"), answer);
    const auto plain = onlyRequestTo ("/api/vds/resources/windows");
    EXPECT_EQ (plain.method, "GET");
    EXPECT_TRUE (plain.body.empty());
    EXPECT_FALSE (plain.hasHeader ("Content-Type"));
}

TEST (HttpTransportHeaders, RepeatedNamesAreJoinedInTheirOrder)
{
    const struct { juce::StringArray given, sent; } cases[] = {
        { { "A: 1", "B: 2" }, { "A: 1", "B: 2" } },
        { { "X-Order: first", "Accept: */*", "x-order: second", "X-Order:third" },
          { "X-Order: first, second, third", "Accept: */*" } },
        { {}, {} },
    };

    for (const auto& c : cases)
        EXPECT_EQ (HttpTransport::joinRepeatedHeaders (c.given), c.sent) << c.given.joinIntoString (" | ");
}

TEST_F (HttpTransportService, ReportsTheHeadersOfTheFinalAnswerOnly)
{
    juce::MemoryBlock body;
    const auto redirected = HttpTransport::performIntoMemory (get ("/redirect/2"), body);

    ASSERT_TRUE (redirected.isComplete()) << redirected.error;
    EXPECT_EQ (redirected.status, 200);
    EXPECT_TRUE (redirected.headers["Content-Type"].startsWith ("application/json")) << redirected.headers["Content-Type"];
    EXPECT_FALSE (redirected.headers.containsKey ("Location"));
    EXPECT_EQ (juce::JSON::parse (body.toString())["redirects"].toString(), "done");
    EXPECT_EQ (service.requests().size(), 3u);

    const auto file = HttpTransport::performIntoMemory (get ("/extra/pattern.bin"), body);
    ASSERT_TRUE (file.isComplete()) << file.error;
    EXPECT_EQ (file.headers["accept-ranges"], "bytes");
    EXPECT_EQ (file.headers["Content-Length"], juce::String (patternSize));
    EXPECT_TRUE (file.contentRange.isEmpty());
    EXPECT_TRUE (body == pattern());
}

TEST_F (HttpTransportService, FollowsRedirectsUpToTheLimit)
{
    struct Case
    {
        int chain;
        int limit;
        bool arrives;
    };

    const Case cases[] { { 0, 0, true }, { 3, 3, true }, { 2, 5, true }, { 1, 0, false }, { 4, 3, false } };

    for (const auto& c : cases)
    {
        auto request = get ("/redirect/" + std::to_string (c.chain));
        request.maxRedirects = c.limit;

        juce::MemoryBlock body;
        const auto result = HttpTransport::performIntoMemory (request, body);
        const auto what = std::to_string (c.chain) + " redirects, limit " + std::to_string (c.limit);

        if (c.arrives)
        {
            EXPECT_TRUE (result.isComplete()) << what << ": " << result.error;
            EXPECT_EQ (result.status, 200) << what;
        }
        else
        {
            EXPECT_EQ (result.failure, Failure::tooManyRedirects) << what;
            EXPECT_TRUE (result.error.contains ("redirects")) << what << ": " << result.error;
        }
    }
}

TEST_F (HttpTransportService, NothingListeningIsNoAnswer)
{
    HttpTransport::Request request;
    request.address = closedOrigin() + "/api/vds/auth";

    juce::MemoryBlock body;
    const auto result = HttpTransport::performIntoMemory (request, body);

    EXPECT_EQ (result.failure, Failure::noAnswer);
    EXPECT_EQ (result.status, 0);
    EXPECT_TRUE (result.error.isNotEmpty());
    EXPECT_TRUE (body.isEmpty());
}

TEST_F (HttpTransportService, RangeAsksFromAnOffset)
{
    struct Case
    {
        juce::int64 from;
        bool ignoreRange;
        int status;
        juce::String contentRange;
        juce::int64 length;
    };

    const auto last = juce::String (patternSize - 1) + "/" + juce::String (patternSize);
    const Case cases[] {
        { 0,    false, 206, "bytes 0-" + last,    patternSize },
        { 1234, false, 206, "bytes 1234-" + last, patternSize - 1234 },
        { 1234, true,  200, {},                   patternSize },
        { patternSize, false, 416, "bytes */" + juce::String (patternSize), 0 },
    };

    for (const auto& c : cases)
    {
        service.faults().setIgnoreRange (c.ignoreRange);
        service.clearRequests();

        auto request = get ("/extra/pattern.bin");
        request.rangeFrom = c.from;

        juce::MemoryBlock body;
        const auto result = HttpTransport::performIntoMemory (request, body);
        const auto what = "from " + std::to_string (c.from) + (c.ignoreRange ? ", range ignored" : "");

        EXPECT_EQ (onlyRequestTo ("/extra/pattern.bin").header ("Range"), "bytes=" + std::to_string (c.from) + "-") << what;
        EXPECT_TRUE (result.isComplete()) << what << ": " << result.error;
        EXPECT_EQ (result.status, c.status) << what;
        EXPECT_EQ (result.contentRange, c.contentRange) << what;
        EXPECT_EQ (result.contentLength, c.length) << what;

        if (c.status == 206)
        {
            const auto whole = pattern();
            EXPECT_TRUE (body.getSize() == (size_t) c.length
                         && memcmp (body.getData(), static_cast<const char*> (whole.getData()) + c.from, body.getSize()) == 0) << what;
        }
    }
}

TEST_F (HttpTransportService, AStalledBodyTimesOut)
{
    if (runningUnderWine())
        GTEST_SKIP() << wineKeepsStalledReads;

    auto request = stalledPattern (100);
    request.readTimeoutMs = 1000;

    juce::MemoryBlock body;
    const auto result = HttpTransport::performIntoMemory (request, body);

    // The stall lasts until cleared, so only the read time-out can have ended it.
    EXPECT_EQ (result.failure, Failure::timedOut) << result.error;
    EXPECT_EQ (result.status, 200);
    EXPECT_EQ (result.bodyBytes, 100);
    EXPECT_EQ (body.getSize(), 100u);
}

TEST_F (HttpTransportService, ADroppedConnectionInTheBodyIsAFailure)
{
    service.faults().dropAfterBytes (500, "/extra/");

    juce::MemoryBlock body;
    const auto result = HttpTransport::performIntoMemory (get ("/extra/pattern.bin"), body);

    EXPECT_EQ (result.failure, Failure::brokenOff) << result.error;
    EXPECT_FALSE (result.isComplete());
    EXPECT_EQ (result.status, 200);
    EXPECT_EQ (result.contentLength, patternSize);
    EXPECT_EQ (result.bodyBytes, 500);
    EXPECT_TRUE (result.error.isNotEmpty());
}

TEST_F (HttpTransportService, AStopFromAnotherThreadEndsStalledBodies)
{
    if (runningUnderWine())
        GTEST_SKIP() << wineKeepsStalledReads;

    auto request = stalledPattern (100);
    request.readTimeoutMs = 0;

    // One stop object covers every transfer given it, as on the picture pool.
    HttpTransferStop stop;
    std::atomic<juce::int64> received[2] { { 0 }, { 0 } };
    std::future<HttpTransport::Result> running[2];

    for (int i = 0; i < 2; ++i)
        running[i] = std::async (std::launch::async, [&, i]
        {
            return HttpTransport::perform (request, [&, i] (const void*, size_t size) { received[i] += (juce::int64) size; return true; }, &stop);
        });

    ASSERT_TRUE (waitWithoutPumping ([&] { return received[0].load() == 100 && received[1].load() == 100; }));
    stop.stop();

    // The stall is still on (nothing clears it before this), so only the stop can have ended the transfers.
    const auto ended = running[0].wait_for (30s) == std::future_status::ready
                    && running[1].wait_for (30s) == std::future_status::ready;
    service.faults().clear();
    ASSERT_TRUE (ended);

    for (auto& transfer : running)
    {
        const auto result = transfer.get();
        EXPECT_EQ (result.failure, Failure::stopped);
        EXPECT_EQ (result.status, 200);
        EXPECT_EQ (result.bodyBytes, 100);
    }

    // A stop that came first sends nothing at all.
    service.clearRequests();
    juce::MemoryBlock nothing;
    const auto late = HttpTransport::performIntoMemory (get ("/extra/pattern.bin"), nothing, &stop);
    EXPECT_EQ (late.failure, Failure::stopped);
    EXPECT_TRUE (service.requests().empty());
}

TEST_F (HttpTransportService, TheReceiverCanStopTheTransfer)
{
    juce::int64 taken = 0;
    const auto result = HttpTransport::perform (get ("/extra/pattern.bin"),
                                                [&] (const void*, size_t size) { taken += (juce::int64) size; return false; });

    EXPECT_EQ (result.failure, Failure::stopped);
    EXPECT_GT (taken, 0);
    EXPECT_EQ (result.bodyBytes, 0);
}

TEST_F (HttpTransportService, TheAnswerCheckSeesTheFinalAnswerBeforeItsBody)
{
    struct Case
    {
        const char* what;
        std::string path;
        juce::int64 from;
        bool accept;
        int status;
        const char* contentRange;
    };

    const Case cases[] {
        { "206, accepted",               "/extra/pattern.bin", 1000, true,  206, "bytes 1000-2999/3000" },
        { "206, refused",                "/extra/pattern.bin", 1000, false, 206, "bytes 1000-2999/3000" },
        { "error page, refused",         "/no/such/page",      -1,   false, 404, "" },
        { "after two redirects, refused", "/redirect/2",       -1,   false, 200, "" },
    };

    for (const auto& c : cases)
    {
        auto request = get (c.path);
        request.rangeFrom = c.from;

        std::vector<std::pair<int, juce::String>> seen;
        juce::int64 handed = 0;

        request.acceptAnswer = [&] (int status, const juce::StringPairArray& headers)
        {
            EXPECT_EQ (handed, 0) << c.what;
            seen.emplace_back (status, headers["Content-Range"]);
            return c.accept;
        };

        const auto result = HttpTransport::perform (request, [&] (const void*, size_t size) { handed += (juce::int64) size; return true; });

        ASSERT_EQ (seen.size(), 1u) << c.what;
        EXPECT_EQ (seen.front().first, c.status) << c.what;
        EXPECT_EQ (seen.front().second, c.contentRange) << c.what;
        EXPECT_EQ (result.status, c.status) << c.what;

        if (c.accept)
        {
            EXPECT_TRUE (result.isComplete()) << c.what << ": " << result.error;
            EXPECT_EQ (handed, 2000) << c.what;
        }
        else
        {
            EXPECT_EQ (result.failure, Failure::stopped) << c.what;
            EXPECT_EQ (handed, 0) << c.what;
            EXPECT_EQ (result.bodyBytes, 0) << c.what;
        }
    }
}
