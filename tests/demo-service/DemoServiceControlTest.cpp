// The control endpoints over real loopback HTTP: what another process (the
// Windows tests under Wine) does to the service must take effect as if done
// in-process, and must not show up in, or be hit by, what it controls.

#include "demo-service/DemoServiceFixture.h"

#include <demoservice/ControlApi.h>

namespace
{
    class DemoServiceControl : public DemoServiceTest
    {
    protected:
        void SetUp() override
        {
            demoservice::enableControl (service);
            DemoServiceTest::SetUp();
        }

        /** POSTs the body to "/_control/<action>"; the status and the parsed answer. */
        std::pair<int, juce::var> control (const std::string& action, const std::string& body = "{}") const
        {
            const auto result = client().Post ("/_control/" + action, body, "application/json");
            if (! result)
                return { 0, {} };
            return { result->status, parseJson (result->body) };
        }

        int catalogueStatus (const std::string& token) const
        {
            const auto result = getWithToken ("/api/vds/resources/windows", token);
            return result ? result->status : 0;
        }
    };
}

TEST_F (DemoServiceControl, FaultsSetThroughItTakeEffectAndClear)
{
    const auto token = signInAsCustomer();
    ASSERT_FALSE (token.empty());

    struct Case { const char* action; const char* body; int status; bool jsonAnswer; };
    for (const auto& c : { Case { "faults/forceStatus", R"({"pathPrefix": "/api/vds/resources", "status": 418, "body": "{}"})", 418, true },
                           Case { "faults/forceUnauthorized", R"({"pathPrefix": "/api/vds/resources"})", 401, true },
                           Case { "faults/forceUpdateRequired", R"({"pathPrefix": "/api/vds/resources"})", 403, true },
                           Case { "faults/forceServerError", R"({"pathPrefix": "/api/vds/resources"})", 500, false },
                           Case { "faults/forceNonJsonBody", R"({"pathPrefix": "/api/vds/resources"})", 200, false } })
    {
        SCOPED_TRACE (c.action);
        ASSERT_EQ (control (c.action, c.body).first, 200);

        const auto answer = getWithToken ("/api/vds/resources/windows", token);
        ASSERT_TRUE (answer);
        EXPECT_EQ (answer->status, c.status);
        EXPECT_EQ (parseJson (answer->body).isObject(), c.jsonAnswer) << answer->body;

        ASSERT_EQ (control ("faults/clear").first, 200);
        EXPECT_EQ (catalogueStatus (token), 200);
    }

    // A count is passed on: one forced answer, then the normal one.
    ASSERT_EQ (control ("faults/forceUnauthorized", R"({"pathPrefix": "/api/vds/resources", "times": 1})").first, 200);
    EXPECT_EQ (catalogueStatus (token), 401);
    EXPECT_EQ (catalogueStatus (token), 200);

    // A connection dropped after N bytes of a file.
    ASSERT_EQ (control ("faults/dropAfterBytes", R"({"bytes": 1500, "pathPrefix": "/files/archives/"})").first, 200);
    std::string received;
    client().Get ("/files/archives/mysynth-1.3.0-57.zip", [&received] (const char* data, std::size_t length)
    {
        received.append (data, length);
        return true;
    });
    EXPECT_EQ (received.size(), 1500u);
}

TEST_F (DemoServiceControl, ItIsNeitherRecordedNorFaulted)
{
    // Every path is forced; the control endpoints still answer normally.
    service.faults().forceServerError ("");
    ASSERT_EQ (control ("requests").first, 200);

    const auto account = service.demoAccount();
    EXPECT_EQ (postJson ("/api/vds/auth", "{\"email\": \"" + account.email + "\"}", "t0ken")->status, 500);

    const auto [status, recorded] = control ("requests");
    ASSERT_EQ (status, 200);
    ASSERT_TRUE (recorded.isArray());
    ASSERT_EQ (recorded.size(), 1);

    // The fields a test reads, as the in-process record has them.
    const auto& only = recorded[0];
    const auto local = service.requests().front();
    EXPECT_EQ (only["method"].toString(), "POST");
    EXPECT_EQ (only["path"].toString(), "/api/vds/auth");
    EXPECT_EQ (only["target"].toString().toStdString(), local.target);
    EXPECT_EQ (only["body"].toString().toStdString(), local.body);
    EXPECT_EQ ((int) only["status"], 500);
    ASSERT_EQ (only["headers"].size(), (int) local.headers.size());

    bool sawAuthorization = false;
    for (const auto& pair : *only["headers"].getArray())
        if (pair[0].toString().equalsIgnoreCase ("Authorization"))
            sawAuthorization = pair[1].toString() == "Bearer t0ken";
    EXPECT_TRUE (sawAuthorization);

    // Filtered by path, and cleared.
    EXPECT_EQ (control ("requests", R"({"path": "/api/vds/other"})").second.size(), 0);
    EXPECT_EQ (control ("requests", R"({"path": "/api/vds/auth"})").second.size(), 1);
    ASSERT_EQ (control ("clearRequests").first, 200);
    EXPECT_TRUE (service.requests().empty());
}

TEST_F (DemoServiceControl, AccountsCatalogueAndResetActOnTheService)
{
    const auto info = control ("info").second;
    EXPECT_EQ (info["origin"].toString().toStdString(), service.origin());
    EXPECT_EQ (info["dataFolder"].toString().toStdString(), service.dataFolder().string());
    EXPECT_EQ (info["demoAccount"]["email"].toString().toStdString(), service.demoAccount().email);
    EXPECT_EQ (info["staffAccount"]["password"].toString().toStdString(), service.staffAccount().password);
    EXPECT_EQ (info["appBuild"].toString().toStdString(), service.appBuild());

    const auto email = service.demoAccount().email;
    const auto token = control ("accounts/issueToken", R"({"email": ")" + email + "\"}").second["token"].toString().toStdString();
    ASSERT_FALSE (token.empty());
    EXPECT_EQ (catalogueStatus (token), 200);
    EXPECT_EQ (control ("accounts/emailForToken", R"({"token": ")" + token + "\"}").second["email"].toString().toStdString(), email);

    const auto archiveBefore = control ("archiveFile", R"({"product": "mysynth"})").second["path"].toString();
    EXPECT_EQ (archiveBefore.toStdString(), service.archiveFile ("mysynth").string());
    EXPECT_FALSE ((bool) control ("offerBuild", R"({"product": "mysynth", "version": "1.1.0", "build": "1"})").second["ok"]);
    ASSERT_TRUE ((bool) control ("offerBuild", R"({"product": "mysynth", "version": "1.2.3", "build": "50"})").second["ok"]);
    EXPECT_NE (service.archiveFile ("mysynth").string(), archiveBefore.toStdString());

    service.faults().forceStatus ("/api/vds/getManualResourceURL", 418, "{}");
    ASSERT_EQ (control ("reset").first, 200);

    EXPECT_EQ (catalogueStatus (token), 401);                                  // tokens dropped
    EXPECT_TRUE (control ("accounts/emailForToken", R"({"token": ")" + token + "\"}").second["email"].isVoid());
    EXPECT_EQ (service.archiveFile ("mysynth").string(), archiveBefore.toStdString());   // offered builds restored
    EXPECT_EQ (postJson ("/api/vds/getManualResourceURL", "{\"name\": \"mysynth\"}", signInAsCustomer())->status, 200);   // faults cleared
    // Only the three API requests since the reset: the list, the sign-in, the manual.
    EXPECT_EQ (service.requests().size(), 3u);
}

TEST_F (DemoServiceControl, BadRequestsAreRefusedWithTheirReason)
{
    struct Case { const char* action; const char* body; int status; };
    for (const auto& c : { Case { "nosuch", "{}", 404 },
                           Case { "faults", "{}", 404 },
                           Case { "faults/forceStatus", "[1, 2]", 400 },
                           Case { "faults/forceStatus", "not json", 400 },
                           Case { "faults/forceStatus", R"({"pathPrefix": 12})", 400 },
                           Case { "faults/stallAfterBytes", R"({"bytes": "many"})", 400 } })
    {
        SCOPED_TRACE (std::string (c.action) + " " + c.body);
        const auto [status, answer] = control (c.action, c.body);
        EXPECT_EQ (status, c.status);
        EXPECT_FALSE (answer["error"].toString().isEmpty());
    }

    // Nothing was set by the refused calls.
    EXPECT_EQ (catalogueStatus (signInAsCustomer()), 200);
}
