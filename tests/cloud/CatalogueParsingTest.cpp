#include "cloud/ProductOrder.h"
#include "cloud/ProductsRequest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace
{
    juce::var json (const char* text)
    {
        juce::var value;
        EXPECT_TRUE (juce::JSON::parse (juce::CharPointer_UTF8 (text), value).wasOk()) << text;
        return value;
    }
}

TEST (CatalogueParsing, MembersAreReadEachOnTheirOwn)
{
    const auto p = VRCloud::parseProduct (json (R"({
        "title": "My Synth", "name": "mysynth", "subtitle": "Poly synth", "local_key_name": "mysynth",
        "icon": "http://x/i.png", "ui_image": "http://x/u.png", "version": "1.2.3", "build": 1234,
        "category": "instrument", "build_group": "public", "beta": true, "public": true,
        "product_page_url": "http://x/p", "has_manual": true, "release_notes": "# 1.2.3\n- fix",
        "filesize": 5000000000, "formats": ["vst3", "aax"], "contents": ["{commonfiles}/VST3/MySynth.vst3"],
        "unknown": 1 })"));

    EXPECT_EQ (p.title, "My Synth");
    EXPECT_EQ (p.name, "mysynth");
    EXPECT_EQ (p.subtitle, "Poly synth");
    EXPECT_EQ (p.local_key_name, "mysynth");
    EXPECT_EQ (p.icon, "http://x/i.png");
    EXPECT_EQ (p.ui_image, "http://x/u.png");
    EXPECT_EQ (p.version, "1.2.3");
    EXPECT_EQ (p.build, "1234");                 // a number read as its decimal text
    EXPECT_EQ (p.category, "instrument");
    EXPECT_EQ (p.build_group, "public");
    EXPECT_TRUE (p.beta);
    EXPECT_TRUE (p.isPublic);
    EXPECT_TRUE (p.has_manual);
    EXPECT_EQ (p.release_notes, "# 1.2.3\n- fix");
    EXPECT_EQ (p.filesize, 5000000000LL);
    EXPECT_TRUE (p.offersFormat (PluginFormats::vst3));
    EXPECT_TRUE (p.offersFormat (PluginFormats::aax));
    EXPECT_FALSE (p.offersFormat (PluginFormats::vst2));
    EXPECT_EQ (p.contents.size(), 1);
    EXPECT_FALSE (p.isExpansion());
    EXPECT_FALSE (p.localVersions[0].isValid());
}

TEST (CatalogueParsing, MissingAndWrongTypedMembersTakeDefaults)
{
    const auto p = VRCloud::parseProduct (json (R"({ "title": 42, "beta": "yes", "formats": "vst3",
                                                     "parents": {"name": "x"}, "filesize": "12" })"));
    EXPECT_EQ (p.title, "42");                   // a number where text is expected
    EXPECT_EQ (p.name, "");
    EXPECT_FALSE (p.offersFormat (PluginFormats::vst3)) << "formats that are not an array offer nothing";
    EXPECT_FALSE (p.parents.isArray());
    EXPECT_EQ (p.filesize, 12);
    EXPECT_FALSE (p.has_manual);

    const auto notAnObject = VRCloud::parseProduct (juce::var ("just text"));
    EXPECT_EQ (notAnObject.title, "");
    EXPECT_EQ (notAnObject.name, "");
}

TEST (CatalogueParsing, OnlyArraysGiveProducts)
{
    EXPECT_EQ (VRCloud::parseProducts (json ("[]")).size(), 0u);
    EXPECT_EQ (VRCloud::parseProducts (json (R"([{"title": "A"}, 7, {"title": "B"}])")).size(), 3u);
    EXPECT_EQ (VRCloud::parseProducts (json (R"({"title": "A"})")).size(), 0u);
    EXPECT_EQ (VRCloud::parseProducts (juce::var()).size(), 0u);
}

TEST (CatalogueParsing, TitleOrderIsNaturalCaseBlindAndStrictWeak)
{
    std::vector<VRCloud::Product> products;

    for (auto title : { "Synth 10", "synth 9", "", "Alpha", "Synth 9b", "", "beta", "Synth 100" })
    {
        VRCloud::Product p;
        p.title = title;
        p.name = juce::String ((int) products.size());
        products.push_back (p);
    }

    // Strict weak ordering: irreflexive, asymmetric, transitive, and
    // incomparability is transitive.
    auto less = VRCloud::titleComesBefore;
    auto equiv = [&] (auto& a, auto& b) { return ! less (a, b) && ! less (b, a); };

    for (auto& a : products)
    {
        EXPECT_FALSE (less (a, a));

        for (auto& b : products)
        {
            EXPECT_FALSE (less (a, b) && less (b, a));

            for (auto& c : products)
            {
                if (less (a, b) && less (b, c))
                {
                    EXPECT_TRUE (less (a, c));
                }

                if (equiv (a, b) && equiv (b, c))
                {
                    EXPECT_TRUE (equiv (a, c));
                }
            }
        }
    }

    auto shuffled = products;
    std::shuffle (shuffled.begin(), shuffled.end(), std::mt19937 (7));
    std::stable_sort (products.begin(), products.end(), less);

    juce::StringArray order;
    for (auto& p : products)
        order.add (p.title.isEmpty() ? "<" + p.name + ">" : p.title);

    // Empty titles first in their incoming order; then 9 before 9b before 10 before 100.
    EXPECT_EQ (order.joinIntoString ("|"), "<2>|<5>|Alpha|beta|synth 9|Synth 9b|Synth 10|Synth 100");
}
