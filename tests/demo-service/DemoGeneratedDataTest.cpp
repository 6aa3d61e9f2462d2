#include "demo-service/PeVersionProbe.h"
#include "demoservice/ArchiveLayout.h"
#include "demoservice/DemoService.h"
#include "demoservice/Manifest.h"
#include "demoservice/VersionQuad.h"

#include <juce_graphics/juce_graphics.h>
#include <gtest/gtest.h>

#include <set>

using namespace demoservice;

namespace
{
    Manifest generatedManifest()
    {
        std::string error;
        auto manifest = loadManifest (defaultDataFolder() / "catalogue.json", error);
        if (! manifest)
            ADD_FAILURE() << error;
        return manifest ? *manifest : Manifest();
    }

    /** Runs bsdtar as the client does on Linux: under a UTF-8 locale. */
    juce::String bsdtar (juce::StringArray args)
    {
        args.insert (0, "bsdtar");
        args.insert (0, "LC_ALL=C.UTF-8");
        args.insert (0, "env");

        juce::ChildProcess process;
        if (! process.start (args))
            return "cannot start bsdtar";

        auto output = process.readAllProcessOutput();
        process.waitForProcessToFinish (10000);
        return output;
    }

    std::set<std::string> filesListed (const std::filesystem::path& zip)
    {
        std::set<std::string> files;
        for (const auto& line : juce::StringArray::fromLines (bsdtar ({ "-tf", zip.string() })))
            if (line.isNotEmpty() && ! line.endsWithChar ('/'))
                files.insert (line.toStdString());
        return files;
    }

    std::vector<std::uint8_t> readBytes (const juce::File& file)
    {
        juce::MemoryBlock block;
        file.loadFileAsData (block);
        const auto* data = static_cast<const std::uint8_t*> (block.getData());
        return { data, data + block.getSize() };
    }
}

TEST (DemoGeneratedData, EveryArchiveHoldsExactlyWhatItsContentsName)
{
    const auto manifest = generatedManifest();
    ASSERT_FALSE (manifest.products.empty());

    for (const auto& product : manifest.products)
    {
        std::string error;
        const auto layout = archiveLayout (product.contents, product.expansion, error);
        ASSERT_EQ (error, "") << product.name;

        std::set<std::string> expected;
        for (const auto& entry : layout)
            expected.insert (entry.kind == ArchiveEntry::Kind::pluginBundle ? bundleBinaryPath (entry.path) : entry.path);

        for (const auto& build : product.builds)
        {
            const auto zip = defaultDataFolder() / "archives" / product.archiveFileName (build);
            ASSERT_TRUE (std::filesystem::exists (zip)) << zip;
            EXPECT_EQ (filesListed (zip), expected) << zip;
        }
    }
}

TEST (DemoGeneratedData, UnpackedArchivesHaveThePathsPlacementReadsAndVersionedBinaries)
{
    // Written out by hand: where placement looks for each entry after "tar -xf ... -C work".
    struct Case { const char* product; std::vector<std::string> files; std::vector<std::string> binaries; };
    const Case cases[] = {
        { "mysynth",
          { "MySynth.dll", "MySynth.vst3", "MySynth.aaxplugin/Contents/x64/MySynth.aaxplugin",
            "Factory Presets/Warm.preset", "Factory Presets/Bright.preset" },
          { "MySynth.dll", "MySynth.vst3", "MySynth.aaxplugin/Contents/x64/MySynth.aaxplugin" } },
        { "lumo",
          { "Lumo.vst3", "Lumo.aaxplugin/Contents/x64/Lumo.aaxplugin", "Textures/Dawn.preset" },
          { "Lumo.vst3" } },
        { "solvkant",
          { "S0lvkant.dll", "S0lvkant.vst3", "Presets/Default.preset" },
          { "S0lvkant.dll" } },
        { "winterpads",
          { "Presets/Winter Pads/Frost.preset", "Presets/Winter Pads/N\xc3\xb8kken.preset" },
          {} },
    };

    const auto manifest = generatedManifest();
    const auto work = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("demo-unpack", {}, false);

    for (const auto& c : cases)
    {
        const auto* product = manifest.findByName (c.product);
        ASSERT_NE (product, nullptr) << c.product;

        work.deleteRecursively();
        ASSERT_TRUE (work.createDirectory());

        const auto zip = defaultDataFolder() / "archives" / product->archiveFileName (product->builds.front());
        bsdtar ({ "-xf", zip.string(), "-C", work.getFullPathName(), "--no-same-owner", "--no-same-permissions", "-v" });

        for (const auto& file : c.files)
            EXPECT_TRUE (work.getChildFile (juce::String::fromUTF8 (file.c_str())).existsAsFile()) << c.product << ": " << file;

        const auto expected = versionQuad (product->builds.front().version, product->builds.front().build);
        for (const auto& binary : c.binaries)
        {
            const auto version = probePeFileVersion (readBytes (work.getChildFile (binary)));
            ASSERT_TRUE (version.has_value()) << binary;
            EXPECT_EQ (*version, expected) << binary;
        }
    }

    work.deleteRecursively();
}

TEST (DemoGeneratedData, OlderBuildsCarryTheirOwnVersion)
{
    const auto manifest = generatedManifest();
    const auto* product = manifest.findByName ("kvistcomp");
    ASSERT_NE (product, nullptr);
    ASSERT_GE (product->builds.size(), 2u);

    const auto work = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("demo-unpack", {}, false);
    ASSERT_TRUE (work.createDirectory());
    bsdtar ({ "-xf", (defaultDataFolder() / "archives" / product->archiveFileName (product->builds[1])).string(), "-C", work.getFullPathName() });

    const auto version = probePeFileVersion (readBytes (work.getChildFile ("KvistComp.vst3")));
    ASSERT_TRUE (version.has_value());
    EXPECT_EQ (*version, (std::array<std::uint16_t, 4> { 9, 9, 9, 999 }));
    work.deleteRecursively();
}

TEST (DemoGeneratedData, ApplicationArchiveOpensWithZipFileAndHoldsTheExecutable)
{
    juce::ZipFile zip (juce::File ((defaultDataFolder() / "app" / "app.zip").string()));
    ASSERT_EQ (zip.getNumEntries(), 1);
    EXPECT_EQ (zip.getEntry (0)->filename, "Vamrelund Helper.exe");

    std::unique_ptr<juce::InputStream> stream (zip.createStreamForEntry (0));
    ASSERT_NE (stream, nullptr);
    juce::MemoryBlock block;
    stream->readIntoMemoryBlock (block);
    const auto* data = static_cast<const std::uint8_t*> (block.getData());

    const auto manifest = generatedManifest();
    const auto version = probePeFileVersion ({ data, data + block.getSize() });
    ASSERT_TRUE (version.has_value());
    EXPECT_EQ (*version, versionQuad (manifest.app.version, manifest.app.build));
}

TEST (DemoGeneratedData, ManualsAndPicturesExistWhereTheCatalogueSaysSo)
{
    for (const auto& product : generatedManifest().products)
    {
        const auto manual = juce::File ((defaultDataFolder() / "manuals" / product.manualFileName()).string());
        EXPECT_EQ (manual.existsAsFile(), product.hasManual) << product.name;
        if (product.hasManual)
        {
            EXPECT_TRUE (manual.loadFileAsString().startsWith ("%PDF-")) << product.name;
        }

        for (const auto& name : { product.iconFileName(), product.pictureFileName() })
        {
            const auto picture = juce::File ((defaultDataFolder() / "pictures" / name).string());
            EXPECT_EQ (picture.existsAsFile(), product.pictures) << name;
            if (product.pictures)
            {
                EXPECT_TRUE (juce::ImageFileFormat::loadFrom (picture).isValid()) << name;
            }
        }
    }
}
