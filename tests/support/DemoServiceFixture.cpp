#include "support/DemoServiceFixture.h"

#include "log/DiagnosticLog.h"
#include "cloud/ServiceConfig.h"
#include "cloud/RequestEngine.h"

void DemoServiceFixture::SetUp()
{
    ASSERT_TRUE (service.start (0)) << service.lastError();
    setApiBaseURL (service.apiBase());
    tokenRejected = false;
    logStart = generalLogWriter().getFile().getSize();
}

void DemoServiceFixture::TearDown()
{
    service.stop();
    setApiBaseURL (ServiceConfig::productionApiBase());
    tokenRejected = false;
}

juce::String DemoServiceFixture::demoToken()
{
    return service.issueToken (service.demoAccount().email);
}

demoservice::RecordedRequest DemoServiceFixture::onlyRequestTo (const std::string& path)
{
    auto recorded = service.requestsTo (path);
    EXPECT_EQ (recorded.size(), 1u) << path;
    return recorded.empty() ? demoservice::RecordedRequest() : recorded.front();
}

juce::StringArray DemoServiceFixture::headerNames (const demoservice::RecordedRequest& request)
{
    juce::StringArray names;

    for (auto& [name, value] : request.headers)
        names.add (juce::String (name).toLowerCase());

    return names;
}

juce::String DemoServiceFixture::logSinceStart() const
{
    juce::FileInputStream in (generalLogWriter().getFile());

    if (in.failedToOpen())
        return {};

    in.setPosition (logStart);
    return in.readEntireStreamAsString();
}
