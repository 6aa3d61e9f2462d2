#include "cloud/Product.h"
#include "localstate/FormatSettings.h"
#include "platform/Locations.h"
#include "support/LogCapture.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    const juce::String solvkant (juce::CharPointer_UTF8 ("S\xc3\xb8lvkant"));

    juce::String withSeparator (const juce::File& folder)
    {
        return folder.getFullPathName() + juce::File::getSeparatorString();
    }

    struct FormatLocations : public ::testing::Test
    {
        ScopedSandbox sandbox;
        juce::File storeFile = sandbox.root().getChildFile ("store.settings");

        std::unique_ptr<juce::PropertiesFile> openStore()
        {
            juce::PropertiesFile::Options options;
            options.millisecondsBeforeSaving = -1;   // saved only when asked
            return std::make_unique<juce::PropertiesFile> (storeFile, options);
        }

        FormatSettings loaded (juce::PropertiesFile& store)
        {
            FormatSettings settings;
            loadFormatSettings (settings, store);
            return settings;
        }

        VRCloud::Product product (const juce::String& title, const juce::String& localKey)
        {
            VRCloud::Product p;
            p.title = title;
            p.local_key_name = localKey;
            return p;
        }
    };
}

TEST (PluginFormat, LabelsAndStems)
{
    struct Case { PluginFormat format; const char* label; const char* stem; };
    const Case cases[] = {
        { PluginFormats::aax, "AAX", "aaxplugin" }, { PluginFormats::vst2, "VST", "dll" },
        { PluginFormats::vst3, "VST3", "vst3" },    { PluginFormats::resources, "RES", "" },
    };

    for (const auto& c : cases)
    {
        EXPECT_EQ (formatLabel (c.format), c.label);
        EXPECT_EQ (formatStem (c.format), c.stem);
    }
}

TEST_F (FormatLocations, FreshStoreGetsDefaultsWrittenBack)
{
    auto store = openStore();
    const auto settings = loaded (*store);

    const juce::String expectedFolders[] = { withSeparator (Locations::defaultAaxFolder()),
                                             withSeparator (Locations::defaultVst2Folder()),
                                             withSeparator (Locations::defaultVst3Folder()) };
    const char* stems[] = { "aaxplugin", "dll", "vst3" };

    EXPECT_EQ (expectedFolders[2], withSeparator (sandbox.root().getChildFile ("Program Files/Common Files/VST3")));

    for (int f = 0; f < 3; ++f)
    {
        EXPECT_TRUE (settings.active[f]);
        EXPECT_EQ (settings.path[f], expectedFolders[f]);
        EXPECT_EQ (settings.defaultPath[f], expectedFolders[f]);
        EXPECT_TRUE (settings.path[f].endsWith (juce::File::getSeparatorString()));

        // Written back at once, so the keys exist from now on.
        EXPECT_TRUE (store->containsKey (juce::String (stems[f]) + "Active")) << stems[f];
        EXPECT_EQ (store->getValue (juce::String (stems[f]) + "Path"), expectedFolders[f]);
    }

    EXPECT_TRUE (store->needsToBeSaved()) << "the writes wait for the file's own delayed save";
}

TEST_F (FormatLocations, StoredValuesAreKeptAndAnEmptyPathFallsBackToTheDefault)
{
    {
        auto store = openStore();
        store->setValue ("aaxpluginActive", false);
        store->setValue ("dllPath", "");
        store->setValue ("vst3Path", "/somewhere/else/VST3");
        store->saveIfNeeded();
    }

    auto store = openStore();
    const auto settings = loaded (*store);

    EXPECT_FALSE (settings.active[PluginFormats::aax]);
    EXPECT_TRUE (settings.active[PluginFormats::vst2]);
    EXPECT_EQ (settings.path[PluginFormats::vst2], withSeparator (Locations::defaultVst2Folder()));
    EXPECT_EQ (store->getValue ("dllPath"), withSeparator (Locations::defaultVst2Folder())) << "the empty key is rewritten";
    EXPECT_EQ (settings.path[PluginFormats::vst3], "/somewhere/else/VST3") << "used unchanged, not checked";
    EXPECT_EQ (settings.defaultPath[PluginFormats::vst3], withSeparator (Locations::defaultVst3Folder()));
    EXPECT_FALSE (store->getBoolValue ("aaxpluginActive", true));
}

TEST_F (FormatLocations, SaveWritesAllSixKeysToDisk)
{
    auto store = openStore();
    auto settings = loaded (*store);
    settings.active[PluginFormats::vst2] = false;
    settings.path[PluginFormats::aax] = sandbox.root().getChildFile ("AAX").getFullPathName();

    saveFormatSettings (settings, *store);
    EXPECT_FALSE (store->needsToBeSaved());

    auto reopened = openStore();
    EXPECT_FALSE (reopened->getBoolValue ("dllActive", true));
    EXPECT_TRUE (reopened->getBoolValue ("vst3Active", false));
    EXPECT_EQ (reopened->getValue ("aaxpluginPath"), sandbox.root().getChildFile ("AAX").getFullPathName());

    const auto again = loaded (*reopened);
    EXPECT_FALSE (again.active[PluginFormats::vst2]);
    EXPECT_EQ (again.path[PluginFormats::aax], settings.path[PluginFormats::aax]);
}

TEST_F (FormatLocations, FoldersIncludingSwitchedOffFormatsAndResources)
{
    auto store = openStore();
    auto settings = loaded (*store);
    settings.active[PluginFormats::vst3] = false;

    EXPECT_EQ (formatFolder (PluginFormats::vst3, settings), Locations::defaultVst3Folder()) << "switched off, still a folder";
    EXPECT_EQ (formatFolder (PluginFormats::aax, settings), Locations::defaultAaxFolder());

    LogCapture log;
    const auto resources = formatFolder (PluginFormats::resources, settings);
    formatFolder (PluginFormats::resources, settings);
    EXPECT_EQ (resources, sandbox.root().getChildFile ("ProgramData/Application Support/Vamrelund"));
    EXPECT_EQ (log.count ("RESOURCE path = " + resources.getFullPathName()), 2) << "logged each time";

    // A path that is not absolute here names no folder.
    settings.path[PluginFormats::vst2] = "relative/VST";
    EXPECT_EQ (formatFolder (PluginFormats::vst2, settings), juce::File());
    settings.path[PluginFormats::vst2] = "";
    EXPECT_EQ (formatFolder (PluginFormats::vst2, settings), juce::File());
}

TEST_F (FormatLocations, FormatFilesOfAProduct)
{
    auto store = openStore();
    const auto settings = loaded (*store);
    const auto mySynth = product ("My Synth", "mysynth");

    EXPECT_EQ (mySynth.getFormatFile (PluginFormats::vst3, settings), Locations::defaultVst3Folder().getChildFile ("MySynth.vst3"));
    EXPECT_EQ (mySynth.getFormatFile (PluginFormats::vst2, settings), Locations::defaultVst2Folder().getChildFile ("MySynth.dll"));
    EXPECT_EQ (mySynth.getFormatFile (PluginFormats::aax, settings), Locations::defaultAaxFolder().getChildFile ("MySynth.aaxplugin"));
    EXPECT_EQ (mySynth.getFormatFile (PluginFormats::resources, settings),
               sandbox.root().getChildFile ("ProgramData/Application Support/Vamrelund/mysynth/appdata/Assets.vra"));

    // With or without a final separator, the same file.
    auto noSeparator = settings;
    noSeparator.path[PluginFormats::vst3] = Locations::defaultVst3Folder().getFullPathName();
    EXPECT_EQ (mySynth.getFormatFile (PluginFormats::vst3, noSeparator), mySynth.getFormatFile (PluginFormats::vst3, settings));

    // Every space goes, not only the first.
    EXPECT_EQ (product (" A  B C ", "abc").getFormatFile (PluginFormats::vst2, settings).getFileName(), "ABC.dll");
}

TEST_F (FormatLocations, AliasedTitleGivesItsFileNames)
{
    auto store = openStore();
    const auto settings = loaded (*store);
    const auto aliased = product (solvkant, "solvkant");

    EXPECT_EQ (aliased.getFormatFile (PluginFormats::vst3, settings).getFileName(), "S0lvkant.vst3");
    EXPECT_EQ (aliased.getFormatFile (PluginFormats::vst2, settings).getFileName(), "S0lvkant.dll");
    EXPECT_EQ (aliased.getFormatFile (PluginFormats::aax, settings).getFileName(), "S0lvkant.aaxplugin");

    EXPECT_EQ (fileNameTitle (solvkant), "S0lvkant");
    EXPECT_EQ (fileNameTitle (solvkant.toLowerCase()), solvkant.toLowerCase()) << "case-sensitive";
    EXPECT_EQ (fileNameTitle (solvkant + " 2"), solvkant + " 2") << "the whole title only";
    EXPECT_EQ (product (solvkant + " 2", "x").getFormatFile (PluginFormats::vst2, settings).getFileName(), solvkant + "2.dll");
}

TEST_F (FormatLocations, TitlesThatWouldLeaveTheFolderNameNoFile)
{
    auto store = openStore();
    const auto settings = loaded (*store);

    for (auto title : { "", "   ", "../../Windows/system32/kernel32", "Sub/Folder", "C:evil", "..", "." })
    {
        const auto p = product (title, "key");
        for (PluginFormat f = 0; f < 3; ++f)
            EXPECT_EQ (p.getFormatFile (f, settings), juce::File()) << "\"" << title << "\" format " << f;
    }

    for (auto key : { "", "..", "../x", "a\\b" })
        EXPECT_EQ (product ("Fine", key).getFormatFile (PluginFormats::resources, settings), juce::File()) << "\"" << key << "\"";

    // A title with a dot inside is an ordinary name.
    EXPECT_EQ (product ("Synth 2.0", "x").getFormatFile (PluginFormats::vst2, settings).getFileName(), "Synth2.0.dll");
}
