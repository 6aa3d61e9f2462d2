#include "cloud/DownloadLocations.h"
#include "cloud/ProductsRequest.h"
#include "support/DemoServiceFixture.h"

namespace
{
    using CatalogueService = DemoServiceFixture;

    std::vector<VRCloud::Product> fetch (const juce::String& token)
    {
        std::vector<VRCloud::Product> result;
        bool arrived = false;

        VRCloud::fetchProducts ({ token, {} }, [&] (std::vector<VRCloud::Product> products)
        {
            result = std::move (products);
            arrived = true;
        });

        EXPECT_TRUE (pumpUntil ([&] { return arrived; }, 15000));
        return result;
    }
}

TEST_F (CatalogueService, FetchesAndParsesTheDemoCatalogue)
{
    const auto products = fetch (demoToken());
    ASSERT_FALSE (products.empty());

    const auto served = juce::JSON::parse (juce::String (service.catalogueJson (service.demoAccount().email)));
    ASSERT_TRUE (served.isArray());
    EXPECT_EQ ((int) products.size(), served.size());

    for (size_t i = 0; i < products.size(); ++i)
    {
        EXPECT_EQ (products[i].name, served[(int) i]["name"].toString());
        EXPECT_EQ (products[i].build, served[(int) i]["build"].toString());
    }

    const auto log = logSinceStart();
    EXPECT_TRUE (log.contains ("lockAndTrigger json <[Array]>")) << log;
    EXPECT_TRUE (log.contains ("fetchProducts2 res200")) << log;
}

TEST_F (CatalogueService, FailuresGiveAnEmptyListAndStillAnswer)
{
    const auto token = demoToken();

    service.faults().forceNonJsonBody ("/api/vds/resources", 1);
    EXPECT_TRUE (fetch (token).empty());

    service.faults().forceStatus ("/api/vds/resources", 200, R"({"title": "not an array"})", "application/json", 1);
    EXPECT_TRUE (fetch (token).empty());

    service.faults().forceStatus ("/api/vds/resources", 200, "[]", "application/json", 1);
    EXPECT_TRUE (fetch (token).empty());

    EXPECT_TRUE (fetch ("not-a-token").empty());
    EXPECT_TRUE (tokenRejected.load());
    EXPECT_TRUE (logSinceStart().contains ("fetchProducts2 res401"));
}

TEST_F (CatalogueService, DownloadLocations)
{
    const auto token = demoToken();

    const auto archive = VRCloud::getPluginResourceURL ("aurora9", token, "2.1.0", "210", false);
    EXPECT_TRUE (archive.startsWith (juce::String (service.origin()))) << archive;
    EXPECT_TRUE (logSinceStart().contains ("     getPluginResourceURL json: {\n\"name\": \"aurora9\""));

    EXPECT_EQ (VRCloud::getPluginResourceURL ("no-such-product", token, "1.0.0", "", false), "");

    // A name that would break a concatenated body still reaches the service as JSON.
    EXPECT_EQ (VRCloud::getPluginResourceURL ("quote\"back\\slash", token, "1.0.0", "", false), "");
    const auto odd = service.requestsTo ("/api/vds/getPluginResourceURL").back();
    EXPECT_EQ (juce::JSON::parse (juce::String (odd.body))["name"].toString(), "quote\"back\\slash");

    EXPECT_EQ (VRCloud::getManualResourceURL ("aurora10", token), "") << "no manual: 404";
    EXPECT_NE (VRCloud::getManualResourceURL ("aurora9", token), "");

    juce::String url, version, build;
    ASSERT_TRUE (VRCloud::getLatestInternalVDSInfo (token, url, version, build));
    EXPECT_EQ (version, juce::String (service.appVersion()));
    EXPECT_EQ (build, juce::String (service.appBuild()));
    EXPECT_TRUE (url.isNotEmpty());
    const auto latest = onlyRequestTo ("/api/vds/getLatestInternalVDS");
    EXPECT_EQ (latest.method, "GET");
    EXPECT_EQ (latest.header ("Content-Type"), "application/json");

    service.faults().forceStatus ("/api/vds/getLatestInternalVDS", 200, "{}", "application/json", 1);
    ASSERT_TRUE (VRCloud::getLatestInternalVDSInfo (token, url, version, build));
    EXPECT_EQ (url + version + build, "");
}
