#include "cloud/ProductsRequest.h"

#include "log/DiagnosticLog.h"
#include "cloud/ServiceConfig.h"

namespace VRCloud
{
    juce::URL productsURL()
    {
        return juce::URL (apiBaseURL() + "/vds/resources/" + RequestEngine::platformName().toLowerCase());
    }

    std::vector<Product> parseProducts (const juce::var& answer)
    {
        std::vector<Product> products;

        if (auto* elements = answer.getArray())
        {
            products.reserve ((size_t) elements->size());

            for (auto& element : *elements)
                products.push_back (parseProduct (element));
        }

        return products;
    }

    void VRProductsRequest::lockAndTrigger()
    {
        products.clear();

        if (response.status == 200)
        {
            writeLog ("lockAndTrigger json <" + response.json.toString() + ">");
            products = parseProducts (response.json);
        }

        VamretRequest::lockAndTrigger();
    }

    void fetchProducts (const CloudAccount& account, std::function<void (std::vector<Product>)> done)
    {
        auto* request = new VRProductsRequest();
        request->callback = [request, done = std::move (done)] (VamretResponse answer)
        {
            writeLog ("fetchProducts2 res" + juce::String (answer.status));

            if (done)
                done (std::move (request->products));

            delete request;
        };
        request->start (productsURL(), RequestEngine::Method::get, RequestEngine::BodyKind::catalogue, account.token);
    }
}
