#include "demo-service/DemoServiceFixture.h"

#include <fstream>
#include <sstream>

void DemoServiceTest::SetUp()
{
    ASSERT_TRUE (service.start (0)) << service.lastError();
}

void DemoServiceTest::TearDown()
{
    service.stop();
}

httplib::Client DemoServiceTest::client (int readTimeoutSeconds) const
{
    httplib::Client c ("127.0.0.1", service.port());
    c.set_connection_timeout (5, 0);
    c.set_read_timeout (readTimeoutSeconds, 0);
    return c;
}

httplib::Result DemoServiceTest::postJson (const std::string& path, const std::string& body, const std::string& token) const
{
    httplib::Headers headers;
    if (! token.empty())
        headers.emplace ("Authorization", "Bearer " + token);

    return client().Post (path, headers, body, "application/json");
}

httplib::Result DemoServiceTest::getWithToken (const std::string& path, const std::string& token) const
{
    return client().Get (path, { { "Authorization", "Bearer " + token } });
}

std::string DemoServiceTest::signIn (const std::string& email, const std::string& password) const
{
    juce::DynamicObject::Ptr body (new juce::DynamicObject());
    body->setProperty ("email", juce::String (email));
    body->setProperty ("password", juce::String (password));

    const auto result = postJson ("/api/vds/auth", juce::JSON::toString (juce::var (body.get())).toStdString());
    if (! result || result->status != 200)
        return {};

    return parseJson (result->body)["token"].toString().toStdString();
}

std::string DemoServiceTest::signInAsCustomer() const
{
    const auto account = service.demoAccount();
    return signIn (account.email, account.password);
}

std::string DemoServiceTest::signInAsStaff() const
{
    const auto account = service.staffAccount();
    return signIn (account.email, account.password);
}

std::string DemoServiceTest::pathOf (const std::string& url) const
{
    const auto origin = service.origin();
    EXPECT_EQ (url.rfind (origin, 0), 0u) << url;
    return url.substr (origin.size());
}

juce::var DemoServiceTest::parseJson (const std::string& body)
{
    return juce::JSON::parse (juce::String::fromUTF8 (body.data(), static_cast<int> (body.size())));
}

std::string DemoServiceTest::fileBytes (const std::filesystem::path& file)
{
    std::ifstream in (file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
