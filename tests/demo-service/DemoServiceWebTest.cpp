#include "demo-service/DemoServiceFixture.h"

#include "app/SignInLink.h"

TEST_F (DemoServiceTest, BrowserSignInEndsInAHelperLinkWhoseCodeSignsIn)
{
    const auto account = service.demoAccount();

    const auto form = client().Get ("/sso");
    ASSERT_EQ (form->status, 200);
    EXPECT_EQ (form->get_header_value ("Content-Type"), "text/html; charset=utf-8");
    EXPECT_NE (form->body.find ("action=\"/sso\""), std::string::npos);

    const auto refused = client().Post ("/sso", "email=" + account.email + "&password=wrong", "application/x-www-form-urlencoded");
    EXPECT_EQ (refused->status, 401);
    EXPECT_FALSE (refused->has_header ("Location"));

    const httplib::Params fields { { "email", account.email }, { "password", account.password } };
    const auto accepted = client().Post ("/sso", fields);
    ASSERT_EQ (accepted->status, 302);

    const auto location = accepted->get_header_value ("Location");
    EXPECT_EQ (location.rfind ("vamrhelper://email=" + account.email + "&code=", 0), 0u) << location;

    // The link goes through the application's own parser, as the browser hands it over.
    const auto link = parseSignInCommandLine (juce::String (location));
    ASSERT_TRUE (link.has_value());
    EXPECT_EQ (link->email, juce::String (account.email));

    const auto exchange = postJson ("/api/vds/sso_auth", "{\"email\": \"" + link->email.toStdString() + "\", \"code\": \"" + link->code.toStdString() + "\"}");
    EXPECT_EQ (exchange->status, 200);
    EXPECT_TRUE (parseJson (exchange->body)["token"].toString().isNotEmpty());
}

TEST_F (DemoServiceTest, AddressesThatWouldBreakTheLinkAreEscaped)
{
    ASSERT_TRUE (service.accounts().add ("a+b&c@example.com", "secret"));

    // httplib's client unescapes header values, so the raw header is read through JUCE.
    juce::StringPairArray headers;
    int status = 0;
    const auto stream = juce::URL (juce::String (service.origin()) + "/sso")
                            .withPOSTData ("email=a%2Bb%26c%40example.com&password=secret")
                            .createInputStream (juce::URL::InputStreamOptions (juce::URL::ParameterHandling::inPostData)
                                                    .withResponseHeaders (&headers)
                                                    .withStatusCode (&status)
                                                    .withNumRedirectsToFollow (0));
    ASSERT_NE (stream, nullptr);
    EXPECT_EQ (status, 302);
    EXPECT_TRUE (headers["Location"].startsWith ("vamrhelper://email=a%2Bb%26c@example.com&code=")) << headers["Location"];
}

TEST_F (DemoServiceTest, SignUpCreatesAnAccountThatCanSignIn)
{
    EXPECT_EQ (client().Get ("/sign-up")->status, 200);

    const httplib::Params fields { { "email", "new.user@example.com" }, { "password", "fresh-pass" } };
    EXPECT_EQ (client().Post ("/sign-up", fields)->status, 200);
    EXPECT_FALSE (signIn ("new.user@example.com", "fresh-pass").empty());

    EXPECT_EQ (client().Post ("/sign-up", fields)->status, 409);
    EXPECT_EQ (client().Post ("/sign-up", httplib::Params { { "email", "short@example.com" }, { "password", "abc" } })->status, 400);
    EXPECT_EQ (client().Post ("/sign-up", httplib::Params { { "email", "no-at-sign" }, { "password", "long enough" } })->status, 400);
}

TEST_F (DemoServiceTest, InformationPagesAreServed)
{
    struct Case { const char* path; int status; const char* contains; };
    const Case cases[] = {
        { "/",                   200, "/sso" },
        { "/terms",              200, "Terms" },
        { "/forgot-password",    200, "action=\"/forgot-password\"" },
        { "/products/mysynth",   200, "My Synth" },
        { "/products/nosuch",    404, "Not found" },
        { "/no/such/page",       404, "Not found" },
    };

    for (const auto& c : cases)
    {
        const auto page = client().Get (c.path);
        ASSERT_TRUE (page) << c.path;
        EXPECT_EQ (page->status, c.status) << c.path;
        EXPECT_NE (page->body.find (c.contains), std::string::npos) << c.path;
    }

    const auto sent = client().Post ("/forgot-password", httplib::Params { { "email", "who@example.com" } });
    EXPECT_EQ (sent->status, 200);
    EXPECT_NE (sent->body.find ("who@example.com"), std::string::npos);

    // Text from the request is escaped on the page.
    const auto escaped = client().Post ("/forgot-password", httplib::Params { { "email", "<script>" } });
    EXPECT_EQ (escaped->body.find ("<script>"), std::string::npos);
}
