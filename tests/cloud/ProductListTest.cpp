#include "log/DiagnosticLog.h"
#include "cloud/ProductList.h"
#include "localstate/PluginSettings.h"
#include "platform/Locations.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    VRCloud::Product product (const char* title, const char* name, const char* category, const char* parentsJson = nullptr)
    {
        VRCloud::Product p;
        p.title = juce::CharPointer_UTF8 (title);
        p.name = name;
        p.local_key_name = name;
        p.category = category;
        p.subtitle = juce::String ("subtitle of ") + name;
        p.version = "1.2.0";
        p.build = "12";

        if (parentsJson != nullptr)
            p.parents = juce::JSON::parse (parentsJson);

        return p;
    }

    FormatSettings defaultFormats()
    {
        auto store = juce::PropertiesFile (Locations::settingsFolder().getChildFile ("formats.settings"),
                                           juce::PropertiesFile::Options());
        FormatSettings formats;
        loadFormatSettings (formats, store);
        return formats;
    }

    juce::StringArray describe (const std::vector<ProductRow>& rows)
    {
        juce::StringArray out;

        for (auto& r : rows)
            out.add (r.title + (r.parentName.isEmpty() ? juce::String() : " <" + r.parentName + ">"));

        return out;
    }
}

TEST (ProductList, PluginsInNaturalOrderThenExpansionsUnderListedParents)
{
    ScopedSandbox sandbox;

    std::vector<VRCloud::Product> products {
        product ("Glass Keys", "glass", "extension", R"([{"name": "aurora9", "title": "Aurora 9"}, {"name": "aurora10", "title": "Aurora 10"}])"),
        product ("Aurora 10", "aurora10", "instrument"),
        product ("Orphan Pack", "orphan", "extension", R"([{"name": "not-listed", "title": "Gone"}])"),
        product ("Nameless Parent", "nameless", "extension", R"([{"name": "", "title": "Aurora 9"}])"),
        product ("aurora 9", "aurora9", "instrument"),
        product ("Kvist Comp", "kvist", "effect"),
        product ("Add-on for Glass", "addon", "extension", R"([{"name": "glass", "title": "Glass Keys"}])"),
        product ("Zebra FX", "zebra", "effect"),
    };

    const auto rows = VRCloud::prepareProductRows (products, defaultFormats());

    // "Add-on for Glass" comes before "Glass Keys" in title order, so its
    // parent has no row yet when it is looked at.
    EXPECT_EQ (describe (rows).joinIntoString ("|"),
               "aurora 9|Aurora 10|Kvist Comp|Zebra FX|Glass Keys <aurora9>|Glass Keys <aurora10>");

    EXPECT_EQ (rows[0].subtitle, "subtitle of aurora9");
    EXPECT_EQ (rows[4].subtitle, "Expansion for Aurora 9") << "the parent element's title, not the parent row's";
    EXPECT_EQ (rows[5].subtitle, "Expansion for Aurora 10");
    EXPECT_EQ (rows[4].parentTitle, "Aurora 9");

    const auto log = generalLogWriter().getFile().loadFileAsString();
    EXPECT_TRUE (log.contains ("parents name aurora10\r\n"));
    EXPECT_TRUE (log.contains ("parents title Aurora 10\r\n"));
}

TEST (ProductList, RowsCarryTheRecordAndTheLocalState)
{
    ScopedSandbox sandbox;
    auto formats = defaultFormats();

    auto p = product ("My Synth", "mysynth", "instrument");
    p.formats = juce::JSON::parse (R"(["vst3", "aax"])");
    p.contents = juce::JSON::parse (R"(["{commonfiles}/MySynth.vst3", 7])");
    p.beta = true;
    p.filesize = 1234;

    {
        auto fresh = VRCloud::prepareProductRows ({ p }, formats);
        ASSERT_EQ (fresh.size(), 1u);
        EXPECT_EQ (fresh[0].titleNoSpaces, "MySynth");
        EXPECT_EQ (fresh[0].installedBuild, "1") << "no plugin settings file yet";
        EXPECT_EQ (versionToText (fresh[0].version), "1.2.0");
        EXPECT_TRUE (fresh[0].version.isValid());
        EXPECT_EQ (fresh[0].formats.joinIntoString (","), "vst3,aax");
        EXPECT_EQ (fresh[0].contents.joinIntoString (","), "{commonfiles}/MySynth.vst3,7");
        EXPECT_TRUE (fresh[0].beta);
        EXPECT_EQ (fresh[0].filesize, 1234);
        ASSERT_EQ (fresh[0].targets.size(), 4u);
        EXPECT_EQ (fresh[0].targets.back().format, PluginFormats::resources);
    }

    setLocalBuild ("My Synth", "mysynth", "11");
    auto rows = VRCloud::prepareProductRows ({ p }, formats);
    EXPECT_EQ (rows[0].installedBuild, "11");
}
