#include "cloud/ServiceConfig.h"
#include "cloud/DownloadLocations.h"
#include "cloud/ForcedUpdate.h"
#include "cloud/ProductsRequest.h"
#include "cloud/SignIn.h"
#include "cloud/VamretRequest.h"
#include "support/DemoServiceFixture.h"
#include "support/RecordingUpdateHandler.h"

#include <atomic>

namespace
{
    using RequestEngineService = DemoServiceFixture;

    VamretResponse postJson (const juce::String& path, const juce::String& body, const juce::String& token)
    {
        return performRequest (juce::URL (apiBaseURL() + path).withPOSTData (body), RequestEngine::Method::post,
                               RequestEngine::BodyKind::json, 10000, token);
    }
}

TEST_F (RequestEngineService, HeaderSetsFollowBodyKindAndToken)
{
    const auto token = demoToken();

    // JSON with token: content type, authorization, version, platform.
    VRCloud::getPluginResourceURL ("aurora9", token, "2.1.0", "210", false);
    auto json = onlyRequestTo ("/api/vds/getPluginResourceURL");
    EXPECT_EQ (json.method, "POST");
    EXPECT_EQ (json.header ("Content-Type"), "application/json");
    EXPECT_EQ (json.header ("Authorization"), "Bearer " + token.toStdString());
    EXPECT_EQ (json.header ("vds-version"), VAMRHELPER_VERSION_STRING);
    EXPECT_EQ (json.header ("platform"), "Windows");
    EXPECT_EQ (json.body, VRCloud::pluginResourceBody ("aurora9", "2.1.0", "210", false).toStdString());

    // GET for the token check and the catalogue: no content type.
    EXPECT_TRUE (VRCloud::validateToken ({ token, {} }));
    auto check = onlyRequestTo ("/api/vds/resources/windows");
    EXPECT_EQ (check.method, "GET");
    EXPECT_FALSE (check.hasHeader ("Content-Type"));
    EXPECT_EQ (check.header ("Authorization"), "Bearer " + token.toStdString());
    EXPECT_EQ (check.header ("vds-version"), VAMRHELPER_VERSION_STRING);
    EXPECT_EQ (check.header ("platform"), "Windows");
    EXPECT_TRUE (check.body.empty());

    // Empty token: no authorization header at all.
    service.clearRequests();
    postJson ("/vds/auth", R"({"email": "x@y.z", "password": "nope"})", {});
    auto anonymous = onlyRequestTo ("/api/vds/auth");
    EXPECT_FALSE (anonymous.hasHeader ("Authorization"));
    EXPECT_EQ (anonymous.header ("Content-Type"), "application/json");
    EXPECT_EQ (anonymous.header ("vds-version"), VAMRHELPER_VERSION_STRING);
}

TEST_F (RequestEngineService, ServerDownGivesStatusZeroAndNoBodyLine)
{
    setApiBaseURL (closedOrigin() + "/api");
    const auto answer = postJson ("/vds/auth", "{}", {});
    EXPECT_EQ (answer.status, 0);
    EXPECT_TRUE (answer.json.isVoid());
    EXPECT_FALSE (logSinceStart().contains ("raw json for")) << logSinceStart();
}

TEST_F (RequestEngineService, HtmlErrorPageGivesVoidJsonAndIsLoggedRaw)
{
    service.faults().forceServerError ("/api/vds/getManualResourceURL");
    const auto answer = postJson ("/vds/getManualResourceURL", R"({"name": "aurora9"})", demoToken());
    EXPECT_EQ (answer.status, 500);
    EXPECT_TRUE (answer.json.isVoid());

    const auto log = logSinceStart();
    EXPECT_TRUE (log.contains ("raw json for " + apiBaseURL() + "/vds/getManualResourceURL")) << log;
    EXPECT_TRUE (log.containsIgnoreCase ("<html")) << log;
    EXPECT_FALSE (tokenRejected.load());
}

TEST_F (RequestEngineService, AnswerCutShortIsNoAnswer)
{
    // A 200 whose body breaks off must not pass as a (token-less) success.
    service.faults().dropAfterBytes (5, "/api/vds/auth");
    const auto answer = postJson ("/vds/auth", R"({"email": "demo@example.com", "password": "vamrelund-demo"})", {});
    EXPECT_EQ (answer.status, 0);
    EXPECT_TRUE (answer.json.isVoid());
}

TEST_F (RequestEngineService, Status401RaisesTheRejectedFlag)
{
    const auto token = demoToken();
    service.revokeToken (token.toStdString());

    EXPECT_FALSE (tokenRejected.load());
    EXPECT_FALSE (VRCloud::validateToken ({ token, {} }));
    EXPECT_TRUE (tokenRejected.load());
}

TEST_F (RequestEngineService, Status403StartsTheForcedUpdateOnlyWithUrlAndWhenIdle)
{
    RecordingUpdateHandler handler;
    const auto token = demoToken();

    service.faults().forceUpdateRequired ("/api/vds/resources", "http://127.0.0.1:1/app.zip", 1);
    bool forbidden = false;
    EXPECT_FALSE (VRCloud::validateToken ({ token, {} }, &forbidden));
    EXPECT_TRUE (forbidden);
    EXPECT_EQ (handler.starts.load(), 1);
    EXPECT_EQ (handler.lastUrl, "http://127.0.0.1:1/app.zip");

    // No "url" member: nothing starts.
    service.faults().forceStatus ("/api/vds/resources", 403, R"({"message": "forbidden"})", "application/json", 1);
    VRCloud::validateToken ({ token, {} });
    EXPECT_EQ (handler.starts.load(), 1);

    // An update already under way: nothing starts either.
    handler.running = true;
    service.faults().forceUpdateRequired ("/api/vds/resources", "http://127.0.0.1:1/app.zip", 1);
    VRCloud::validateToken ({ token, {} });
    EXPECT_EQ (handler.starts.load(), 1);
}

TEST_F (RequestEngineService, NoHandlerRegisteredMeans403IsJustAnAnswer)
{
    service.faults().forceUpdateRequired ("/api/vds/getLatestInternalVDS");
    juce::String url ("kept"), version ("kept"), build ("kept");
    EXPECT_FALSE (VRCloud::getLatestInternalVDSInfo (demoToken(), url, version, build));
    EXPECT_EQ (url, "kept");
    EXPECT_FALSE (requestForcedUpdate ("http://x/app.zip"));
}

TEST_F (RequestEngineService, SendAsyncDeliversOnTheMessageThread)
{
    std::atomic<bool> delivered { false };
    bool onMessageThread = false;
    int status = -1;

    sendAsync (juce::URL (apiBaseURL() + "/vds/auth").withPOSTData (R"({"email": "demo@example.com", "password": "vamrelund-demo"})"),
               {}, [&] (VamretResponse answer)
               {
                   onMessageThread = juce::MessageManager::getInstance()->isThisTheMessageThread();
                   status = answer.status;
                   delivered = true;
               });

    ASSERT_TRUE (pumpUntil ([&] { return delivered.load(); }, 15000));
    EXPECT_TRUE (onMessageThread);
    EXPECT_EQ (status, 200);
}
