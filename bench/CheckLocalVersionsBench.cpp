// Time of checkLocalVersions over a catalogue of installed products.
//
//   vamrhelper_bench_local_versions prepare <root> <products> <code KiB>
//   vamrhelper_bench_local_versions run <root> <products> <repeats>
//   vamrhelper_bench_local_versions files <root> <products> <repeats>
//
// "prepare" lays out the plugin folders in <root> as a musician's machine
// would have them: for three products in four, an AAX bundle, a VST2 DLL and
// a single-file VST3 (PE images with a version resource after <code KiB> of
// code) and the resource file; the fourth product is not installed. "run"
// times checkLocalVersions over fresh copies of all products, with <root> as
// the sandbox, and prints the total and per-product times of each repeat.
// "files" times the same file work (existence and version resource of each
// format file) without the log lines, to tell the two costs apart.

#include "cloud/Product.h"
#include "platform/Environment.h"
#include "platform/FileVersion.h"
#include "platform/Locations.h"
#include "support/PeFiles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace
{
    FormatSettings loadSettings()
    {
        juce::PropertiesFile::Options options;
        options.millisecondsBeforeSaving = -1;
        juce::PropertiesFile store (Locations::settingsFolder().getChildFile ("bench.settings"), options);
        FormatSettings settings;
        loadFormatSettings (settings, store);
        return settings;
    }

    VRCloud::Product productNumber (int i)
    {
        VRCloud::Product p;
        p.title = "Bench Synth " + juce::String (i);
        p.name = "benchsynth" + juce::String (i);
        p.local_key_name = p.name;
        return p;
    }

    bool isInstalled (int i) { return i % 4 != 3; }

    int prepare (int count, int codeKiB)
    {
        const auto settings = loadSettings();

        for (int i = 0; i < count; ++i)
        {
            if (! isInstalled (i))
                continue;

            const auto p = productNumber (i);
            auto options = testDll ({ 1, (std::uint16_t) (i % 10), (std::uint16_t) (i % 7), (std::uint16_t) i });
            options.codeSize = (std::uint32_t) codeKiB * 1024;

            const auto aax = p.getFormatFile (PluginFormats::aax, settings);
            const auto resources = p.getFormatFile (PluginFormats::resources, settings);

            if (! writePeFile (aax.getChildFile ("Contents/x64").getChildFile (aax.getFileName()), options)
                 || ! writePeFile (p.getFormatFile (PluginFormats::vst2, settings), options)
                 || ! writePeFile (p.getFormatFile (PluginFormats::vst3, settings), options)
                 || ! resources.getParentDirectory().createDirectory()
                 || ! resources.replaceWithText ("assets"))
            {
                std::fprintf (stderr, "could not write product %d\n", i);
                return 1;
            }
        }

        return 0;
    }

    int run (int count, int repeats)
    {
        const auto settings = loadSettings();
        std::vector<VRCloud::Product> catalogue;

        for (int i = 0; i < count; ++i)
            catalogue.push_back (productNumber (i));

        for (int r = 0; r < repeats; ++r)
        {
            auto products = catalogue;
            const auto start = std::chrono::steady_clock::now();

            for (auto& p : products)
                p.checkLocalVersions (settings);

            const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;

            // Make sure the work was done, and done right.
            const auto& sample = products[0].localVersions[PluginFormats::vst2];

            if (! sample.isValid())
            {
                std::fprintf (stderr, "product 0 has no VST2 version: prepare first\n");
                return 1;
            }

            std::printf ("checkLocalVersions, %d products: %.1f ms total, %.1f us per product\n",
                         count, elapsed.count(), elapsed.count() * 1000.0 / count);
        }

        return 0;
    }

    int filesOnly (int count, int repeats)
    {
        const auto settings = loadSettings();
        std::vector<std::array<juce::File, PluginFormats::count>> files;

        for (int i = 0; i < count; ++i)
        {
            const auto p = productNumber (i);
            std::array<juce::File, PluginFormats::count> row;

            for (PluginFormat f = 0; f < PluginFormats::pluginFormatCount; ++f)
                row[(size_t) f] = p.getFormatFile (f, settings);

            row[PluginFormats::resources] = Locations::resourceFolder().getChildFile (p.local_key_name)
                                                .getChildFile ("appdata").getChildFile ("Assets.vra");
            files.push_back (row);
        }

        for (int r = 0; r < repeats; ++r)
        {
            int versions = 0;
            const auto start = std::chrono::steady_clock::now();

            for (auto& row : files)
                for (auto& file : row)
                    if (file.exists() && parseVersion (readFileVersion (file)).isValid())
                        ++versions;

            const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
            std::printf ("file checks only, %d products: %.1f ms total, %.1f us per product (%d versions)\n",
                         count, elapsed.count(), elapsed.count() * 1000.0 / count, versions);
        }

        return 0;
    }
}

int main (int argc, char** argv)
{
    if (argc != 5)
    {
        std::fprintf (stderr, "usage: %s prepare|run|files <root> <products> <code KiB | repeats>\n", argv[0]);
        return 2;
    }

    const juce::String mode (argv[1]);
    const juce::File root (juce::File::getCurrentWorkingDirectory().getChildFile (argv[2]));
    const int count = std::max (1, atoi (argv[3]));
    const int last = std::max (1, atoi (argv[4]));

    juce::ScopedJuceInitialiser_GUI juce;
    root.createDirectory();
    Environment::setVariable (Locations::sandboxVariable, root.getFullPathName());

    if (mode == "prepare")  return prepare (count, last);
    if (mode == "run")      return run (count, last);
    if (mode == "files")    return filesOnly (count, last);

    std::fprintf (stderr, "unknown mode %s\n", argv[1]);
    return 2;
}
