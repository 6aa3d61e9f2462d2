// Parsing and preparing a large catalogue: the JSON answer of N products is
// parsed into records and prepared into rows (installed versions read from a
// sandbox in which every tenth product is installed).
//
//   bench_catalogue [products] [repeats]

#include "cloud/ProductList.h"
#include "cloud/ProductsRequest.h"
#include "localstate/FormatSettings.h"
#include "platform/Environment.h"
#include "platform/Locations.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>

namespace
{
    using Clock = std::chrono::steady_clock;

    juce::String makeCatalogue (int count)
    {
        juce::Array<juce::var> products;

        for (int i = 0; i < count; ++i)
        {
            auto* p = new juce::DynamicObject();
            const bool expansion = (i % 5 == 4);
            const auto title = juce::String (expansion ? "Expansion " : "Synth ") + juce::String (count - i);
            p->setProperty ("title", title);
            p->setProperty ("name", "p" + juce::String (i));
            p->setProperty ("subtitle", "A product of the benchmark catalogue");
            p->setProperty ("local_key_name", "p" + juce::String (i));
            p->setProperty ("icon", "http://127.0.0.1:1/icon" + juce::String (i) + ".png");
            p->setProperty ("version", "1." + juce::String (i % 10) + ".0");
            p->setProperty ("build", 100 + i);
            p->setProperty ("category", expansion ? "extension" : (i % 2 == 0 ? "instrument" : "effect"));
            p->setProperty ("build_group", i % 7 == 0 ? "beta" : "public");
            p->setProperty ("public", true);
            p->setProperty ("has_manual", i % 3 == 0);
            p->setProperty ("release_notes", "# 1.0\nNotes for product " + juce::String (i));
            p->setProperty ("filesize", 123456789);
            p->setProperty ("formats", juce::Array<juce::var> { "aax", "vst", "vst3", "res" });
            p->setProperty ("contents", juce::Array<juce::var> { "{vst2folder}/" + title.removeCharacters (" ") + ".dll",
                                                                 "{commonfiles}/" + title.removeCharacters (" ") + ".vst3" });

            if (expansion)
            {
                auto* parent = new juce::DynamicObject();
                parent->setProperty ("name", "p" + juce::String (i - 1));
                parent->setProperty ("title", "Synth " + juce::String (count - i + 1));
                p->setProperty ("parents", juce::Array<juce::var> { juce::var (parent) });
            }

            products.add (juce::var (p));
        }

        return juce::JSON::toString (juce::var (products), true);
    }

    long peakKiB()
    {
        rusage usage {};
        getrusage (RUSAGE_SELF, &usage);
        return usage.ru_maxrss;
    }
}

int main (int argc, char** argv)
{
    const int count = argc > 1 ? std::max (1, std::atoi (argv[1])) : 2000;
    const int repeats = argc > 2 ? std::max (1, std::atoi (argv[2])) : 5;

    juce::ScopedJuceInitialiser_GUI juce;

    auto sandbox = juce::File::createTempFile ("bench-sandbox");
    sandbox.createDirectory();
    Environment::setVariable (Locations::sandboxVariable, sandbox.getFullPathName());

    const auto text = makeCatalogue (count);
    FormatSettings settings;

    for (int f = 0; f < PluginFormats::pluginFormatCount; ++f)
        settings.path[f] = settings.defaultPath[f] = (f == 0 ? Locations::defaultAaxFolder()
                                                     : f == 1 ? Locations::defaultVst2Folder()
                                                              : Locations::defaultVst3Folder()).getFullPathName();

    // Every tenth plugin installed as a VST3 file.
    Locations::defaultVst3Folder().createDirectory();
    for (int i = 0; i < count; i += 10)
        Locations::defaultVst3Folder().getChildFile ("Synth" + juce::String (count - i) + ".vst3").replaceWithText ("x");

    const auto before = peakKiB();
    double parseMs = 1e9, prepareMs = 1e9;
    size_t rows = 0;

    for (int r = 0; r < repeats; ++r)
    {
        auto t0 = Clock::now();
        auto products = VRCloud::parseProducts (juce::JSON::parse (text));
        auto t1 = Clock::now();
        auto prepared = VRCloud::prepareProductRows (std::move (products), settings);
        auto t2 = Clock::now();

        parseMs = std::min (parseMs, std::chrono::duration<double, std::milli> (t1 - t0).count());
        prepareMs = std::min (prepareMs, std::chrono::duration<double, std::milli> (t2 - t1).count());
        rows = prepared.size();
    }

    std::printf ("%d products (%d KiB of JSON), %zu rows, best of %d\n", count, (int) (text.getNumBytesAsUTF8() / 1024), rows, repeats);
    std::printf ("parse:   %.1f ms\n", parseMs);
    std::printf ("prepare: %.1f ms\n", prepareMs);
    std::printf ("peak resident memory: %ld KiB (%ld KiB before the runs)\n", peakKiB(), before);

    sandbox.deleteRecursively();
    return 0;
}
