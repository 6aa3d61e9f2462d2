// The products page with a large list: time from an empty page to the built
// and laid-out list (listBuilt), peak memory, the paint cost of one screenful
// of cells, and the CPU the page uses while nothing changes.
//
// usage: vamrhelper_bench_products_page [products (2000)] [idle seconds (10)]

#include "ui/pages/ProductsPage.h"

#include <ctime>
#include <iostream>

namespace
{
    struct BenchDelegate : public CellDelegate
    {
        juce::String getToken() override { return {}; }
        juce::String getEmail() override { return "bench@example.com"; }
        FormatSettings getFormatSettings() override { return {}; }
        void setLocalBuild (const juce::String&, const juce::String&, const juce::String&) override {}
        void refreshPressed() override {}
        void startChildProcesses (const juce::String&, const juce::String&) override {}
        void sendToken (const juce::String&) override {}
    };

    // Rows in every state: missing, current and outdated files, expansions.
    std::vector<ProductRow> makeRows (int count, const juce::File& folder)
    {
        std::vector<ProductRow> rows;
        const auto present = folder.getChildFile ("present.vst3");
        present.replaceWithText ("x");

        for (int i = 0; i < count; ++i)
        {
            ProductRow row;
            row.title = "Product " + juce::String (i);
            row.subtitle = "Synthesizer number " + juce::String (i);
            row.name = "product" + juce::String (i);
            row.category = i % 10 == 9 ? "extension" : (i % 2 == 0 ? "instrument" : "effect");
            row.version = parseVersion ("2.0.0");
            row.build = "200";
            row.installedBuild = "200";
            row.build_group = "public";
            row.isPublic = true;
            row.beta = i % 17 == 0;
            row.formats = { "vst3", "res" };
            row.parentTitle = "Product 0";
            row.contents = { "missing/file.bin" };

            InstallTarget vst3;
            vst3.format = PluginFormats::vst3;
            vst3.file = i % 3 == 0 ? folder.getChildFile ("missing.vst3") : present;
            vst3.version = parseVersion (i % 3 == 1 ? "1.9.0" : "2.0.0");
            row.targets.push_back (vst3);

            InstallTarget res;
            res.format = PluginFormats::resources;
            res.file = folder.getChildFile ("missing.vra");
            row.targets.push_back (res);
            rows.push_back (row);
        }

        return rows;
    }

    juce::String peakMemory()
    {
        // Linux reports the high-water mark of the resident set here.
        const auto status = juce::File ("/proc/self/status").loadFileAsString();
        for (auto line : juce::StringArray::fromLines (status))
            if (line.startsWith ("VmHWM:"))
                return line.fromFirstOccurrenceOf (":", false, false).trim();
        return "n/a";
    }

    double cpuSeconds() { return (double) std::clock() / CLOCKS_PER_SEC; }
}

int main (int argc, char** argv)
{
    const int count = argc > 1 ? juce::jmax (1, juce::String (argv[1]).getIntValue()) : 2000;
    const int idleSeconds = argc > 2 ? juce::jmax (1, juce::String (argv[2]).getIntValue()) : 10;

    juce::ScopedJuceInitialiser_GUI juce;

    // The message loop's own polling, with no page, is the baseline for idle CPU.
    const auto idleCpu = [idleSeconds]
    {
        const auto cpuStart = cpuSeconds();
        juce::MessageManager::getInstance()->runDispatchLoopUntil (idleSeconds * 1000);
        return cpuSeconds() - cpuStart;
    };

    const auto baseline = idleCpu();

    const auto folder = juce::File::createTempFile ("products-bench");
    folder.createDirectory();
    const auto rows = makeRows (count, folder);
    std::cout << "peak memory before the page: " << peakMemory() << "\n";

    BenchDelegate delegate;
    ProductsPage page (&delegate);
    page.setSize (820, 600);

    const auto start = juce::Time::getHighResolutionTicks();
    page.clearList();
    for (auto& row : rows)
        page.addRow (row);
    page.buildCells();
    page.listBuilt();
    page.showSpinner (false);
    const auto built = juce::Time::highResolutionTicksToSeconds (juce::Time::getHighResolutionTicks() - start);

    int laidOut = 0;
    for (auto& cell : page.cells)
        laidOut += cell->isVisible() && cell->getWidth() == 377 ? 1 : 0;

    std::cout << count << " products: listBuilt after " << juce::String (built * 1000.0, 1) << " ms, "
              << laidOut << " cells laid out, content height " << page.table.content.getHeight() << "\n";
    std::cout << "peak memory with the list: " << peakMemory() << "\n";

    // One screenful: the whole page, with the visible cells of the list.
    juce::Image image (juce::Image::ARGB, 820, 600, true);
    const auto paintOnce = [&]
    {
        juce::Graphics g (image);
        page.paintEntireComponent (g, true);
    };

    for (int i = 0; i < 5; ++i)
        paintOnce();

    const int frames = 100;
    const auto paintStart = juce::Time::getHighResolutionTicks();
    for (int i = 0; i < frames; ++i)
        paintOnce();
    const auto paintSeconds = juce::Time::highResolutionTicksToSeconds (juce::Time::getHighResolutionTicks() - paintStart);

    int onScreen = 0;
    const auto view = page.table.getViewArea();
    for (auto& cell : page.cells)
        onScreen += cell->isVisible() && cell->getBounds().intersects (view) ? 1 : 0;

    std::cout << "paint of one screen (" << onScreen << " cells visible): "
              << juce::String (paintSeconds * 1000.0 / frames, 2) << " ms per frame\n";

    // One cell on its own, and the page without its list, to see where the time goes.
    const auto timeOf = [] (int n, auto&& fn)
    {
        const auto t0 = juce::Time::getHighResolutionTicks();
        for (int i = 0; i < n; ++i)
            fn();
        return juce::Time::highResolutionTicksToSeconds (juce::Time::getHighResolutionTicks() - t0) * 1000.0 / n;
    };

    auto* firstCell = page.table.cells.front();
    for (auto* c : page.table.cells)
        if (c->isVisible()) { firstCell = c; break; }

    juce::Image cellImage (juce::Image::ARGB, 377, 103, true);
    const auto cellMs = timeOf (200, [&] { juce::Graphics g (cellImage); firstCell->paintEntireComponent (g, true); });

    page.table.setVisible (false);
    const auto frameMs = timeOf (100, paintOnce);
    page.table.setVisible (true);

    std::cout << "one cell: " << juce::String (cellMs, 3) << " ms; the page without its list: "
              << juce::String (frameMs, 2) << " ms\n";

    // Idle: run the message loop with nothing changing.
    int timersRunning = (page.spinner.isTimerRunning() ? 1 : 0) + (page.activityLabel.isTimerRunning() ? 1 : 0);
    for (auto& cell : page.cells)
        timersRunning += cell->isTimerRunning() ? 1 : 0;

    const auto cpu = idleCpu();
    std::cout << "idle " << idleSeconds << " s on the page: " << juce::String (cpu * 1000.0, 1)
              << " ms CPU (" << juce::String (cpu * 100.0 / idleSeconds, 3) << " %); the same loop without a page: "
              << juce::String (baseline * 1000.0, 1) << " ms; page timers running: " << timersRunning << "\n";

    page.clearList();
    folder.deleteRecursively();
    return 0;
}
