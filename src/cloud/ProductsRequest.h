#pragma once

#include "cloud/CloudAccount.h"
#include "cloud/Product.h"
#include "cloud/VamretRequest.h"

#include <vector>

namespace VRCloud
{
    /** apiBaseURL + "/vds/resources/windows" ("macos" on a Mac). */
    juce::URL productsURL();

    /** The catalogue request: the answer is parsed into products on the
        request thread, before it is handed to the message thread. */
    class VRProductsRequest : public VamretRequest
    {
    public:
        std::vector<Product> products;

    protected:
        void lockAndTrigger() override;
    };

    /** Fetches the account's catalogue. `done` gets the products (empty on any
        failure) on the message thread, whatever the status. */
    void fetchProducts (const CloudAccount& account, std::function<void (std::vector<Product>)> done);

    /** Parses a catalogue answer: an array of products, anything else gives none. */
    std::vector<Product> parseProducts (const juce::var& answer);
}
