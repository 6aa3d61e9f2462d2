#include "cloud/ServiceConfig.h"
#include "cloud/SignIn.h"
#include "support/DemoServiceFixture.h"

namespace
{
    struct Outcome
    {
        bool arrived = false;
        std::string token;
        int error = 0;
    };

    Outcome signIn (const juce::String& email, const juce::String& password, const juce::String& code)
    {
        Outcome outcome;
        VRCloud::getTokenAsync (email, password, code, [&] (std::string token, VRCloud::Error error)
        {
            outcome.token = std::move (token);
            outcome.error = (int) error;
            outcome.arrived = true;
        });

        pumpUntil ([&] { return outcome.arrived; }, 15000);
        return outcome;
    }

    juce::var bodyOf (const demoservice::RecordedRequest& request)
    {
        return juce::JSON::parse (juce::String (request.body));
    }

    using SignInService = DemoServiceFixture;
}

TEST_F (SignInService, LocalChecksAnswerAtOnceWithoutARequest)
{
    struct Case { const char* email; const char* password; const char* code; int expected; };
    const Case cases[] = {
        { "demo@example",   "vamrelund-demo", "",  4 },
        { "demo@example.com", "abc",          "",  8 },
        { "",               "",               "",  12 },
    };

    for (const auto& c : cases)
    {
        bool calledBeforeReturn = false;
        int error = 0;
        VRCloud::getTokenAsync (c.email, c.password, c.code, [&] (std::string, VRCloud::Error e)
        {
            calledBeforeReturn = true;
            error = (int) e;
        });

        EXPECT_TRUE (calledBeforeReturn) << c.email;
        EXPECT_EQ (error, c.expected) << c.email;
    }

    EXPECT_TRUE (service.requests().empty());
}

TEST_F (SignInService, PasswordSignInSendsEmailAndPasswordAndGetsAToken)
{
    const auto demo = service.demoAccount();
    const auto outcome = signIn (demo.email, demo.password, {});

    ASSERT_TRUE (outcome.arrived);
    EXPECT_EQ (outcome.error, 1);
    EXPECT_FALSE (outcome.token.empty());
    EXPECT_EQ (service.accounts().emailForToken (outcome.token).value_or (""), demo.email);

    const auto request = onlyRequestTo ("/api/vds/auth");
    const auto body = bodyOf (request);
    ASSERT_TRUE (body.isObject());
    auto* members = body.getDynamicObject();
    ASSERT_EQ (members->getProperties().size(), 2);
    EXPECT_EQ (members->getProperties().getName (0).toString(), "email");
    EXPECT_EQ (members->getProperties().getName (1).toString(), "password");
    EXPECT_EQ (body["password"].toString(), juce::String (demo.password));

    EXPECT_FALSE (logSinceStart().contains (demo.password)) << "passwords never reach the log";
}

TEST_F (SignInService, PasswordWinsOverCodeAndShortPasswordPassesWithACode)
{
    const auto demo = service.demoAccount();
    const auto code = service.issueSignInCode (demo.email);

    const auto outcome = signIn (demo.email, "abc", code);
    EXPECT_EQ (outcome.error, 401);
    EXPECT_TRUE (outcome.token.empty());

    const auto request = onlyRequestTo ("/api/vds/auth");
    EXPECT_EQ (bodyOf (request)["password"].toString(), "abc");
    EXPECT_TRUE (service.requestsTo ("/api/vds/sso_auth").empty());
}

TEST_F (SignInService, CodeAloneUsesTheBrowserSignInAndIsSpent)
{
    const auto demo = service.demoAccount();
    const auto code = service.issueSignInCode (demo.email);

    const auto first = signIn (demo.email, {}, code);
    EXPECT_EQ (first.error, 1);
    EXPECT_FALSE (first.token.empty());

    const auto request = onlyRequestTo ("/api/vds/sso_auth");
    EXPECT_EQ (bodyOf (request)["email"].toString(), juce::String (demo.email));
    EXPECT_EQ (bodyOf (request)["code"].toString(), juce::String (code));
    EXPECT_TRUE (logSinceStart().contains ("extralog, getSSOAuthURL json = <"));

    const auto again = signIn (demo.email, {}, code);
    EXPECT_EQ (again.error, 401);
}

TEST_F (SignInService, RefusalsNoConnectionAndTokenlessSuccess)
{
    const auto demo = service.demoAccount();

    EXPECT_EQ (signIn (demo.email, "wrong-password", {}).error, 401);

    service.faults().forceStatus ("/api/vds/auth", 403, "{}", "application/json", 1);
    EXPECT_EQ (signIn (demo.email, demo.password, {}).error, 16);

    service.faults().forceStatus ("/api/vds/auth", 200, "{}", "application/json", 1);
    const auto tokenless = signIn (demo.email, demo.password, {});
    EXPECT_EQ (tokenless.error, 1);
    EXPECT_TRUE (tokenless.token.empty());

    setApiBaseURL (closedOrigin() + "/api");
    EXPECT_EQ (signIn (demo.email, demo.password, {}).error, 2);
}

TEST_F (SignInService, TokenCheck)
{
    EXPECT_FALSE (VRCloud::validateToken ({}));
    EXPECT_TRUE (service.requests().empty()) << "an empty token sends nothing";

    const auto token = demoToken();
    EXPECT_TRUE (VRCloud::validateToken ({ token, {} }));

    service.revokeToken (token.toStdString());
    EXPECT_FALSE (VRCloud::validateToken ({ token, {} }));
}
