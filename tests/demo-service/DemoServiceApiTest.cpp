#include "demo-service/DemoServiceFixture.h"

#include <juce_graphics/juce_graphics.h>

#include <map>
#include <thread>

namespace
{
    /** The request name the client sends for a plugin's local key name. */
    juce::String requestNameFor (const juce::var& product)
    {
        if (product["category"].toString() == "extension")
            return product["name"].toString();

        static const std::map<juce::String, juce::String> aliases {
            { juce::String::fromUTF8 ("S\xc3\xb8lvkant"), "s0lvkant" },
            { "Fjellvind", "fjellvind" },
            { "Fjellvind2", "fjellvind" },
        };

        const auto key = product["local_key_name"].toString();
        const auto alias = aliases.find (key);
        return alias != aliases.end() ? alias->second : key;
    }

    /** The body the client builds by concatenation. */
    std::string pluginRequestBody (const juce::String& name, const juce::String& platform,
                                   const juce::String& version, const juce::String& build)
    {
        auto body = "{\n\"name\": \"" + name + "\",\n\"platform\": \"" + platform + "\",\n\"version\": \"" + version + "\"";
        if (build.isNotEmpty())
            body += ",\n\"build\": " + build;
        return (body + "\n}").toStdString();
    }

    juce::var findProduct (const juce::var& list, const juce::String& name)
    {
        if (auto* array = list.getArray())
            for (const auto& product : *array)
                if (product["name"].toString() == name)
                    return product;

        return {};
    }
}

TEST_F (DemoServiceTest, PasswordSignInGivesATokenOnlyForTheRightPassword)
{
    const auto demo = service.demoAccount();
    const auto staff = service.staffAccount();
    ASSERT_FALSE (demo.email.empty());
    ASSERT_EQ (juce::String (staff.email).endsWithIgnoreCase ("@vamrelund.com"), true);

    struct Case { std::string email, password; int status; };
    const Case cases[] = {
        { demo.email, demo.password, 200 },
        { juce::String (demo.email).toUpperCase().toStdString(), demo.password, 200 },   // addresses ignore case
        { staff.email, staff.password, 200 },
        { demo.email, demo.password + "x", 401 },
        { demo.email, "", 401 },
        { "nobody@example.com", demo.password, 401 },
        { "", "", 401 },
    };

    for (const auto& c : cases)
    {
        const auto body = "{\"email\": \"" + c.email + "\", \"password\": \"" + c.password + "\"}";
        const auto result = postJson ("/api/vds/auth", body);
        ASSERT_TRUE (result) << c.email;
        EXPECT_EQ (result->status, c.status) << c.email << " / " << c.password;

        const auto token = parseJson (result->body)["token"].toString();
        EXPECT_EQ (token.isNotEmpty(), c.status == 200) << c.email;
    }

    const auto notJson = postJson ("/api/vds/auth", "{\"email\": \"a\\\"b\", ");
    ASSERT_TRUE (notJson);
    EXPECT_EQ (notJson->status, 400);
}

TEST_F (DemoServiceTest, BrowserCodesAreExchangedOnceForTheAddressTheyWereIssuedFor)
{
    const auto email = service.demoAccount().email;
    const auto exchange = [this] (const std::string& address, const std::string& code)
    {
        const auto result = postJson ("/api/vds/sso_auth", "{\"email\": \"" + address + "\", \"code\": \"" + code + "\"}");
        return std::make_pair (result ? result->status : 0, result ? parseJson (result->body)["token"].toString() : juce::String());
    };

    EXPECT_EQ (service.issueSignInCode ("nobody@example.com"), "");

    const auto code = service.issueSignInCode (email);
    ASSERT_FALSE (code.empty());
    EXPECT_EQ (exchange (email, "WRONG123").first, 401);

    const auto [status, token] = exchange (email, code);
    EXPECT_EQ (status, 200);
    EXPECT_TRUE (token.isNotEmpty());
    EXPECT_EQ (getWithToken ("/api/vds/resources/windows", token.toStdString())->status, 200);

    EXPECT_EQ (exchange (email, code).first, 401);   // used up

    const auto otherAddress = service.issueSignInCode (email);
    EXPECT_EQ (exchange (service.staffAccount().email, otherAddress).first, 401);
    EXPECT_EQ (exchange (email, otherAddress).first, 401);   // a failed attempt spends the code

    service.accounts().setCodeLifetime (std::chrono::seconds (0));
    const auto expired = service.issueSignInCode (email);
    std::this_thread::sleep_for (std::chrono::milliseconds (5));
    EXPECT_EQ (exchange (email, expired).first, 401);
}

TEST_F (DemoServiceTest, ProductListNeedsALiveBearerToken)
{
    const auto token = signInAsCustomer();
    ASSERT_FALSE (token.empty());

    EXPECT_EQ (client().Get ("/api/vds/resources/windows")->status, 401);
    EXPECT_EQ (getWithToken ("/api/vds/resources/windows", "not-a-token")->status, 401);
    EXPECT_EQ (client().Get ("/api/vds/resources/windows", { { "Authorization", token } })->status, 401);   // no scheme
    EXPECT_EQ (client().Get ("/api/vds/resources/windows", { { "Authorization", "bearer " + token } })->status, 200);
    EXPECT_EQ (getWithToken ("/api/vds/resources/windows", token)->status, 200);
    EXPECT_EQ (getWithToken ("/api/vds/resources/macos", token)->status, 200);

    const auto second = signInAsCustomer();
    service.revokeToken (token);

    const auto revoked = getWithToken ("/api/vds/resources/windows", token);
    EXPECT_EQ (revoked->status, 401);
    EXPECT_TRUE (parseJson (revoked->body).isObject());
    EXPECT_EQ (getWithToken ("/api/vds/resources/windows", second)->status, 200);

    // Every request that needs an account answers 401 for a revoked token.
    EXPECT_EQ (postJson ("/api/vds/getPluginResourceURL", pluginRequestBody ("mysynth", "Windows", "1.3.0", "57"), token)->status, 401);
    EXPECT_EQ (postJson ("/api/vds/getManualResourceURL", "{\n\"name\": \"mysynth\"\n}", token)->status, 401);
    EXPECT_EQ (getWithToken ("/api/vds/getLatestInternalVDS", token)->status, 401);
}

TEST_F (DemoServiceTest, CatalogueCoversEveryKindOfProductTheClientHandles)
{
    const auto customer = parseJson (getWithToken ("/api/vds/resources/windows", signInAsCustomer())->body);
    const auto staff = parseJson (getWithToken ("/api/vds/resources/windows", signInAsStaff())->body);
    ASSERT_TRUE (customer.isArray());
    ASSERT_TRUE (staff.isArray());

    // The staff account sees the internal product as well.
    EXPECT_TRUE (findProduct (customer, "testtone").isVoid());
    EXPECT_EQ (findProduct (staff, "testtone")["build_group"].toString(), "internal");
    EXPECT_EQ (staff.size(), customer.size() + 1);

    std::set<juce::String> titles, categories;
    int betas = 0, custom = 0, prerelease = 0, withManual = 0, withoutManual = 0, headedNotes = 0, noNotes = 0;

    for (const auto& product : *customer.getArray())
    {
        titles.insert (product["title"].toString());
        categories.insert (product["category"].toString());
        betas += product["beta"] ? 1 : 0;
        custom += product["public"] ? 0 : 1;
        prerelease += product["build_group"].toString() != "public" ? 1 : 0;
        (product["has_manual"] ? withManual : withoutManual) += 1;
        headedNotes += product["release_notes"].toString().startsWith ("#") ? 1 : 0;
        noNotes += product["release_notes"].toString().isEmpty() ? 1 : 0;

        // The advertised size is the size of the archive the download address gives.
        const auto archive = service.archiveFile (product["name"].toString().toStdString());
        EXPECT_EQ (static_cast<juce::int64> (product["filesize"]), static_cast<juce::int64> (std::filesystem::file_size (archive)))
            << product["name"].toString();
    }

    for (const char* title : { "Aurora 9", "Aurora 10", "My Synth", "Lumo", "Fjellvind", "Fjellvind 2" })
        EXPECT_EQ (titles.count (title), 1u) << title;
    EXPECT_EQ (titles.count (juce::String::fromUTF8 ("S\xc3\xb8lvkant")), 1u);   // the file-name alias
    EXPECT_EQ (categories, (std::set<juce::String> { "instrument", "effect", "extension" }));
    EXPECT_GE (betas, 1);
    EXPECT_GE (custom, 1);
    EXPECT_GE (prerelease, 1);
    EXPECT_GE (withManual, 1);
    EXPECT_GE (withoutManual, 1);
    EXPECT_GE (headedNotes, 1);
    EXPECT_GE (noNotes, 1);

    const auto lumo = findProduct (customer, "lumo");
    EXPECT_FALSE (lumo["formats"].getArray()->contains ("vst"));
    for (const auto& entry : *lumo["contents"].getArray())
        EXPECT_FALSE (entry.toString().startsWith ("{vst2folder}/"));

    EXPECT_EQ (findProduct (customer, "tidevann")["formats"].size(), 1);
    EXPECT_EQ (findProduct (customer, "winterpads")["parents"].size(), 1);
    EXPECT_EQ (findProduct (customer, "glasskeys")["parents"].size(), 2);
    EXPECT_TRUE (findProduct (customer, "aurora10")["build"].isString());   // builds come as text and as numbers
    EXPECT_TRUE (findProduct (customer, "mysynth")["build"].isInt() || findProduct (customer, "mysynth")["build"].isInt64());

    // Pictures are fetchable and decode; a product without pictures has empty addresses.
    const auto mysynth = findProduct (customer, "mysynth");
    for (const auto* member : { "icon", "ui_image" })
    {
        const auto picture = client().Get (pathOf (mysynth[member].toString().toStdString()));
        ASSERT_EQ (picture->status, 200) << member;
        EXPECT_EQ (picture->get_header_value ("Content-Type"), "image/png");
        EXPECT_TRUE (juce::ImageFileFormat::loadFrom (picture->body.data(), picture->body.size()).isValid()) << member;
    }
    EXPECT_EQ (findProduct (customer, "tidevann")["icon"].toString(), "");

    EXPECT_EQ (client().Get (pathOf (mysynth["product_page_url"].toString().toStdString()))->status, 200);
}

TEST_F (DemoServiceTest, EveryListedProductHasADownloadAddressForItsRequestName)
{
    const auto token = signInAsCustomer();
    const auto list = parseJson (getWithToken ("/api/vds/resources/windows", token)->body);
    ASSERT_TRUE (list.isArray());

    for (const auto& product : *list.getArray())
    {
        const bool expansion = product["category"].toString() == "extension";
        const auto body = pluginRequestBody (requestNameFor (product), expansion ? "macOS/Windows" : "Windows",
                                             product["version"].toString(), product["build"].toString());

        const auto result = postJson ("/api/vds/getPluginResourceURL", body, token);
        ASSERT_EQ (result->status, 200) << body;

        const auto url = parseJson (result->body)["url"].toString().toStdString();
        const auto archive = client().Get (pathOf (url));
        ASSERT_EQ (archive->status, 200) << url;
        EXPECT_EQ (archive->get_header_value ("Content-Type"), "application/zip");
        EXPECT_EQ (archive->body, fileBytes (service.archiveFile (product["name"].toString().toStdString()))) << url;
    }

    // Two products share the request name "fjellvind"; the version tells them apart.
    const auto second = postJson ("/api/vds/getPluginResourceURL", pluginRequestBody ("fjellvind", "Windows", "2.0.0", "200"), token);
    EXPECT_NE (parseJson (second->body)["url"].toString().indexOf ("fjellvind2-2.0.0"), -1);

    // Without a build, any build of the version is given.
    const auto noBuild = postJson ("/api/vds/getPluginResourceURL", pluginRequestBody ("mysynth", "Windows", "1.3.0", ""), token);
    EXPECT_EQ (noBuild->status, 200);
}

TEST_F (DemoServiceTest, DownloadAddressRequestsThatCannotBeAnswered)
{
    const auto token = signInAsCustomer();

    struct Case { std::string body; int status; };
    const Case cases[] = {
        { pluginRequestBody ("nosuchproduct", "Windows", "1.0.0", "1"), 404 },
        { pluginRequestBody ("mysynth", "Windows", "9.9.9", "57"), 404 },
        { pluginRequestBody ("mysynth", "Linux", "1.3.0", "57"), 400 },
        { pluginRequestBody ("my\"synth", "Windows", "1.3.0", "57"), 400 },   // the client does not escape values
        { pluginRequestBody ("testtone", "Windows", "0.1.0", "5"), 404 },      // staff only
        { pluginRequestBody (juce::String::fromUTF8 ("S\xc3\xb8lvkant"), "Windows", "1.1.0", "110"), 404 },   // the alias is what the service knows
    };

    for (const auto& c : cases)
        EXPECT_EQ (postJson ("/api/vds/getPluginResourceURL", c.body, token)->status, c.status) << c.body;

    EXPECT_EQ (postJson ("/api/vds/getPluginResourceURL", pluginRequestBody ("testtone", "Windows", "0.1.0", "5"), signInAsStaff())->status, 200);
    EXPECT_EQ (postJson ("/api/vds/getPluginResourceURL", pluginRequestBody ("mysynth", "Windows", "1.3.0", "57"))->status, 401);
}

TEST_F (DemoServiceTest, OfferingAnOlderBuildChangesTheCatalogueAndItsArchive)
{
    EXPECT_FALSE (service.offerBuild ("mysynth", "1.1.0", "1"));
    ASSERT_TRUE (service.offerBuild ("mysynth", "1.2.3", "50"));

    const auto token = signInAsCustomer();
    const auto product = findProduct (parseJson (getWithToken ("/api/vds/resources/windows", token)->body), "mysynth");
    EXPECT_EQ (product["version"].toString(), "1.2.3");
    EXPECT_EQ (product["build"].toString(), "50");

    const auto result = postJson ("/api/vds/getPluginResourceURL", pluginRequestBody ("mysynth", "Windows", "1.2.3", "50"), token);
    const auto archive = client().Get (pathOf (parseJson (result->body)["url"].toString().toStdString()));
    EXPECT_EQ (archive->body, fileBytes (service.archiveFile ("mysynth")));
    EXPECT_EQ (static_cast<juce::int64> (product["filesize"]), static_cast<juce::int64> (archive->body.size()));

    // The newer build stays downloadable.
    EXPECT_EQ (postJson ("/api/vds/getPluginResourceURL", pluginRequestBody ("mysynth", "Windows", "1.3.0", "57"), token)->status, 200);
}

TEST_F (DemoServiceTest, ManualAddressesExistOnlyForProductsWithManuals)
{
    const auto token = signInAsCustomer();

    const auto withManual = postJson ("/api/vds/getManualResourceURL", "{\n\"name\": \"mysynth\"\n}", token);
    ASSERT_EQ (withManual->status, 200);
    const auto pdf = client().Get (pathOf (parseJson (withManual->body)["url"].toString().toStdString()));
    ASSERT_EQ (pdf->status, 200);
    EXPECT_EQ (pdf->get_header_value ("Content-Type"), "application/pdf");
    EXPECT_EQ (pdf->body.rfind ("%PDF-", 0), 0u);

    EXPECT_EQ (postJson ("/api/vds/getManualResourceURL", "{\n\"name\": \"aurora10\"\n}", token)->status, 404);
    EXPECT_EQ (postJson ("/api/vds/getManualResourceURL", "{\n\"name\": \"nosuchproduct\"\n}", token)->status, 404);
    EXPECT_EQ (postJson ("/api/vds/getManualResourceURL", "{\n\"name\": \"mysynth\"\n}")->status, 401);
}

TEST_F (DemoServiceTest, LatestApplicationBuildPointsAtTheApplicationArchive)
{
    EXPECT_EQ (client().Get ("/api/vds/getLatestInternalVDS")->status, 401);

    const auto result = client().Get ("/api/vds/getLatestInternalVDS",
                                      { { "Authorization", "Bearer " + signInAsStaff() }, { "Content-Type", "application/json" } });
    ASSERT_EQ (result->status, 200);

    const auto answer = parseJson (result->body);
    EXPECT_EQ (answer["version"].toString(), juce::String (service.appVersion()));
    EXPECT_EQ (answer["build"].toString(), juce::String (service.appBuild()));

    const auto archive = client().Get (pathOf (answer["url"].toString().toStdString()));
    ASSERT_EQ (archive->status, 200);
    EXPECT_EQ (archive->body, fileBytes (service.appArchiveFile()));
}

TEST_F (DemoServiceTest, RecordsExactlyWhatEachRequestCarried)
{
    const auto token = signInAsCustomer();
    service.clearRequests();

    std::atomic<int> seen { 0 };
    service.onRequest ([&seen] (const demoservice::RecordedRequest&) { ++seen; });

    const std::string body = "{\n\"name\": \"mysynth\"\n}";
    client().Post ("/api/vds/getManualResourceURL",
                   { { "Authorization", "Bearer " + token }, { "vds-version", VAMRHELPER_VERSION_STRING }, { "platform", "Windows" } },
                   body, "application/json");
    client().Get ("/api/vds/nothing-here?x=1%202");
    client().Get ("/nothing-here");

    const auto all = service.requests();
    ASSERT_EQ (all.size(), 3u);
    EXPECT_EQ (seen.load(), 3);

    const auto& manual = all[0];
    EXPECT_EQ (manual.method, "POST");
    EXPECT_EQ (manual.path, "/api/vds/getManualResourceURL");
    EXPECT_EQ (manual.body, body);
    EXPECT_EQ (manual.status, 200);
    EXPECT_EQ (manual.header ("content-type"), "application/json");
    EXPECT_EQ (manual.header ("Authorization"), "Bearer " + token);
    EXPECT_EQ (manual.header ("VDS-Version"), VAMRHELPER_VERSION_STRING);
    EXPECT_EQ (manual.header ("platform"), "Windows");
    EXPECT_FALSE (manual.hasHeader ("REMOTE_ADDR"));

    EXPECT_EQ (all[1].path, "/api/vds/nothing-here");
    EXPECT_EQ (all[1].target, "/api/vds/nothing-here?x=1%202");
    EXPECT_EQ (all[1].status, 404);
    EXPECT_EQ (all[2].status, 404);

    EXPECT_EQ (service.requestsTo ("/api/vds/getManualResourceURL").size(), 1u);
    service.clearRequests();
    EXPECT_TRUE (service.requests().empty());
}

TEST_F (DemoServiceTest, JuceRequestsLikeTheClientsAreAnsweredAndRecorded)
{
    const auto account = service.demoAccount();
    const auto api = juce::String (service.apiBase());

    juce::DynamicObject::Ptr credentials (new juce::DynamicObject());
    credentials->setProperty ("email", juce::String (account.email));
    credentials->setProperty ("password", juce::String (account.password));
    const auto signInBody = juce::JSON::toString (juce::var (credentials.get()));

    const auto perform = [] (const juce::URL& url, bool post, const juce::String& headers, int& status)
    {
        auto stream = url.createInputStream (juce::URL::InputStreamOptions (post ? juce::URL::ParameterHandling::inPostData
                                                                                 : juce::URL::ParameterHandling::inAddress)
                                                 .withExtraHeaders (headers)
                                                 .withConnectionTimeoutMs (10000)
                                                 .withStatusCode (&status)
                                                 .withNumRedirectsToFollow (5));
        return stream != nullptr ? stream->readEntireStreamAsString() : juce::String();
    };

    int status = 0;
    const auto answer = perform (juce::URL (api + "/vds/auth").withPOSTData (signInBody), true,
                                 "Content-Type: application/json\nvds-version: " VAMRHELPER_VERSION_STRING "\nplatform: Windows", status);
    ASSERT_EQ (status, 200);
    const auto token = juce::JSON::parse (answer)["token"].toString();
    ASSERT_TRUE (token.isNotEmpty());

    const auto list = perform (juce::URL (api + "/vds/resources/windows"), false,
                               "Authorization: Bearer " + token + "\nvds-version: " VAMRHELPER_VERSION_STRING "\nplatform: Windows", status);
    EXPECT_EQ (status, 200);
    EXPECT_TRUE (juce::JSON::parse (list).isArray());

    const auto signInRequest = service.requestsTo ("/api/vds/auth").back();
    EXPECT_EQ (signInRequest.method, "POST");
    EXPECT_EQ (juce::String::fromUTF8 (signInRequest.body.c_str()), signInBody);
    EXPECT_EQ (signInRequest.header ("Content-Type"), "application/json");
    EXPECT_FALSE (signInRequest.hasHeader ("Authorization"));

    const auto listRequest = service.requestsTo ("/api/vds/resources/windows").back();
    EXPECT_EQ (listRequest.method, "GET");
    EXPECT_EQ (listRequest.header ("Authorization"), "Bearer " + token.toStdString());
    EXPECT_EQ (listRequest.header ("vds-version"), VAMRHELPER_VERSION_STRING);
    EXPECT_EQ (listRequest.header ("platform"), "Windows");
    EXPECT_FALSE (listRequest.hasHeader ("Content-Type"));
}
