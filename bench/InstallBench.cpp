// The install engine next to the command-line tools, both reading the same
// archive from the same loopback server (bench/install.sh starts it and lays
// out the files). Runs alternate, ours then theirs, so load from elsewhere on
// the machine falls on both; the median of each side is reported.
//
//   bench_install download <url> <served file> <sha256> <work folder> [runs]
//       downloadArchive (size check; then size and SHA-256) next to
//       curl -s -o (then curl followed by sha256sum).
//   bench_install install <url> <served file> <sha256> <contents file> <work folder> [runs]
//       downloadAndInstall up to the end of placement (no completion delay)
//       next to curl -o, bsdtar -xf and cp of the same files to the same targets.
//   bench_install memory <url> <served file> <sha256> <work folder>
//       peak resident memory of the process before and after one download.
//   bench_install waiting
//       CPU time of two jobs waiting for a slot while three hold theirs.
//
// VAMRHELPER_ROOT must name a sandbox folder: every place the engine writes
// to lies below it.

#include "install/ArchiveDownload.h"
#include "install/InstallQueue.h"
#include "install/InstallSequence.h"
#include "install/PlacementPlan.h"
#include "install/WorkFolder.h"
#include "platform/Locations.h"
#include "platform/WorkInFlight.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <algorithm>
#include <cstdlib>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#if ! JUCE_WINDOWS
 #include <sys/resource.h>
#endif

namespace
{
    using Clock = std::chrono::steady_clock;

    double secondsSince (Clock::time_point start)
    {
        return std::chrono::duration<double> (Clock::now() - start).count();
    }

    double median (std::vector<double> values)
    {
        std::sort (values.begin(), values.end());
        return values[values.size() / 2];
    }

    double mebibytes (juce::int64 bytes)
    {
        return (double) bytes / 1048576.0;
    }

    /** "VmHWM" (peak) or "VmRSS" (now) of this process, in KiB. */
    juce::int64 statusKib (const char* field)
    {
        const auto lines = juce::StringArray::fromLines (juce::File ("/proc/self/status").loadFileAsString());

        for (const auto& line : lines)
            if (line.startsWith (juce::String (field) + ":"))
                return line.fromFirstOccurrenceOf (":", false, false).trim().getLargeIntValue();

        return -1;
    }

    juce::String quoted (const juce::String& text)
    {
        return "'" + text.replace ("'", "'\\''") + "'";
    }

    /** Runs a command to its end; false (with its output) when it fails. */
    bool run (const juce::StringArray& command)
    {
        juce::ChildProcess process;

        if (! process.start (command))
        {
            std::printf ("cannot start %s\n", command[0].toRawUTF8());
            return false;
        }

        const auto output = process.readAllProcessOutput();
        process.waitForProcessToFinish (-1);

        if (process.getExitCode() != 0)
        {
            std::printf ("%s failed (%u): %s\n", command.joinIntoString (" ").toRawUTF8(),
                         process.getExitCode(), output.toRawUTF8());
            return false;
        }

        return true;
    }

    /** What every mode reads from its command line. */
    struct Served
    {
        juce::URL url;
        juce::int64 size = 0;
        juce::String sha256;
    };

    bool downloadOnce (const Served& served, const juce::File& file, bool checkSha, double& seconds)
    {
        file.deleteFile();
        InstallJob job;
        const auto start = Clock::now();
        const bool ok = downloadArchive (job, served.url, file, served.size, checkSha ? served.sha256 : juce::String());
        seconds = secondsSince (start);

        if (! ok || file.getSize() != served.size)
        {
            std::printf ("downloadArchive failed\n");
            return false;
        }

        return file.deleteFile();
    }

    bool curlOnce (const Served& served, const juce::File& file, bool checkSha, double& seconds)
    {
        file.deleteFile();
        const auto address = served.url.toString (true);
        const auto start = Clock::now();
        const bool ok = checkSha
            ? run ({ "sh", "-c", "curl -s -f -o " + quoted (file.getFullPathName()) + " " + quoted (address)
                                   + " && echo " + served.sha256 + "' '" + quoted (file.getFullPathName()) + " | sha256sum -c --status" })
            : run ({ "curl", "-s", "-f", "-o", file.getFullPathName(), address });
        seconds = secondsSince (start);
        return ok && file.getSize() == served.size && file.deleteFile();
    }

    /** Alternating runs of both; the medians in seconds, or false. */
    bool alternate (int runs, const std::function<bool (double&)>& ours, const std::function<bool (double&)>& theirs,
                    double& oursMedian, double& theirsMedian)
    {
        std::vector<double> a, b;

        for (int i = 0; i < runs; ++i)
        {
            double seconds = 0;

            if (! ours (seconds))
                return false;

            a.push_back (seconds);

            if (! theirs (seconds))
                return false;

            b.push_back (seconds);
        }

        oursMedian = median (a);
        theirsMedian = median (b);
        return true;
    }

    int downloadMode (const Served& served, const juce::File& work, int runs)
    {
        const auto file = work.getChildFile ("download.zip");
        const auto mb = mebibytes (served.size);
        std::printf ("Download of %.0f MB on loopback, median of %d runs each (MB = 2^20 bytes)\n", mb, runs);
        std::printf ("%-46s %10s %10s %8s\n", "", "ours MB/s", "curl MB/s", "ratio");

        for (const bool checkSha : { false, true })
        {
            double ours = 0, theirs = 0;

            if (! alternate (runs,
                             [&] (double& s) { return downloadOnce (served, file, checkSha, s); },
                             [&] (double& s) { return curlOnce (served, file, checkSha, s); },
                             ours, theirs))
                return 1;

            std::printf ("%-46s %10.0f %10.0f %8.3f\n",
                         checkSha ? "size and SHA-256 (curl then sha256sum -c)" : "size check only (curl -s -o)",
                         mb / ours, mb / theirs, theirs / ours);
        }

        std::printf ("ratio = our speed / curl's speed; goal >= 0.95\n");
        return 0;
    }

    // ---- install

    /** The product's contents entries, one a line. */
    juce::StringArray readContents (const juce::File& file)
    {
        juce::StringArray entries;
        entries.addLines (file.loadFileAsString());
        entries.trim();
        entries.removeEmptyStrings();
        return entries;
    }

    FormatSettings defaultFolders()
    {
        FormatSettings settings;
        settings.path[PluginFormats::aax] = Locations::defaultAaxFolder().getFullPathName();
        settings.path[PluginFormats::vst2] = Locations::defaultVst2Folder().getFullPathName();
        settings.path[PluginFormats::vst3] = Locations::defaultVst3Folder().getFullPathName();
        return settings;
    }

    /** Each planned copy, failing when an entry has none. */
    bool steps (const juce::StringArray& contents, const FormatSettings& settings, const juce::File& from,
                std::vector<PlacementStep>& out)
    {
        out.clear();

        for (const auto& item : planPlacement (contents, {}, settings, from, Locations::dataFolder()))
        {
            if (! item.step)
            {
                std::printf ("entry not placed: %s %s\n", item.entry.toRawUTF8(), item.failure.toRawUTF8());
                return false;
            }

            out.push_back (*item.step);
        }

        return true;
    }

    /** Removes what an earlier run installed, so every run starts alike. */
    void removeTargets (const std::vector<PlacementStep>& plan)
    {
        for (const auto& step : plan)
            step.target.isDirectory() ? (void) step.target.deleteRecursively() : (void) step.target.deleteFile();
    }

    bool allPlaced (const std::vector<PlacementStep>& plan)
    {
        for (const auto& step : plan)
        {
            if (! step.target.exists() || (step.kind == PlacementStep::Kind::file && step.target.getSize() != step.source.getSize()))
            {
                std::printf ("not placed: %s\n", step.target.getFullPathName().toRawUTF8());
                return false;
            }
        }

        return true;
    }

    /** curl, bsdtar, then one cp per target folder (files) or per bundle. */
    juce::String peerScript (const juce::URL& url, const juce::File& peerFolder, const std::vector<PlacementStep>& plan)
    {
        const auto archive = peerFolder.getChildFile ("a.zip");
        juce::String script = "set -e\n";
        script << "curl -s -f -o " << quoted (archive.getFullPathName()) << " " << quoted (url.toString (true)) << "\n"
               << "bsdtar -xf " << quoted (archive.getFullPathName()) << " -C " << quoted (peerFolder.getFullPathName()) << "\n";

        std::vector<std::pair<juce::File, juce::StringArray>> byFolder;

        for (const auto& step : plan)
        {
            if (step.kind == PlacementStep::Kind::bundle)
            {
                script << "mkdir -p " << quoted (step.target.getParentDirectory().getFullPathName()) << "\n"
                       << "cp -R " << quoted (step.source.getFullPathName()) << " " << quoted (step.target.getFullPathName()) << "\n";
                continue;
            }

            const auto folder = step.target.getParentDirectory();
            auto found = std::find_if (byFolder.begin(), byFolder.end(), [&] (const auto& f) { return f.first == folder; });

            if (found == byFolder.end())
                found = byFolder.insert (byFolder.end(), { folder, {} });

            found->second.add (quoted (step.source.getFullPathName()));
        }

        for (const auto& [folder, sources] : byFolder)
            script << "mkdir -p " << quoted (folder.getFullPathName()) << "\n"
                   << "cp " << sources.joinIntoString (" ") << " " << quoted (folder.getFullPathName()) << "/\n";

        return script;
    }

    int installMode (const Served& served, const juce::File& contentsFile, const juce::File& work, int runs)
    {
        const juce::ScopedJuceInitialiser_GUI messageLoop;   // the sequence posts its completion
        const auto contents = readContents (contentsFile);
        const auto settings = defaultFolders();
        const auto peerFolder = work.getChildFile ("peer");
        std::vector<PlacementStep> ourPlan, peerPlan;

        if (contents.isEmpty() || ! steps (contents, settings, peerFolder, peerPlan))
            return 1;

        const auto script = work.getChildFile ("peer.sh");

        if (! script.replaceWithText (peerScript (served.url, peerFolder, peerPlan), false, false, "\n"))
            return 1;

        for (const bool checkSha : { false, true })
        {
            const auto ours = [&] (double& seconds)
            {
                removeTargets (peerPlan);
                WorkFolder::folderFor (workFolderCounter.load()).deleteRecursively();   // the previous run's

                auto job = std::make_shared<InstallJob>();
                job->markStarted();
                InstallRequest request;
                request.url = served.url;
                request.contents = contents;
                request.settings = settings;
                request.expectedSize = served.size;
                request.expectedSha256 = checkSha ? served.sha256 : juce::String();
                InstallSequenceOptions options;
                options.completionDelayMs = 0;

                // Placement ends when the worker returns; only the completion is still to come.
                const auto start = Clock::now();
                std::thread worker ([&] { downloadAndInstall (job, request, options); });
                worker.join();
                seconds = secondsSince (start);

                while (! job->isComplete())
                    juce::MessageManager::getInstance()->runDispatchLoopUntil (5);

                if (! job->outcome().ok || job->outcome().message.isNotEmpty())
                {
                    std::printf ("install failed: %s\n", job->outcome().message.toRawUTF8());
                    return false;
                }

                const auto workFolder = WorkFolder::folderFor (workFolderCounter.load());
                return steps (contents, settings, workFolder, ourPlan) && allPlaced (ourPlan);
            };

            const auto theirs = [&] (double& seconds)
            {
                removeTargets (peerPlan);
                peerFolder.deleteRecursively();
                peerFolder.createDirectory();

                const auto start = Clock::now();
                const bool ok = run ({ "sh", script.getFullPathName() })
                             && (! checkSha || run ({ "sh", "-c", "echo " + served.sha256 + "' '"
                                                                  + quoted (peerFolder.getChildFile ("a.zip").getFullPathName())
                                                                  + " | sha256sum -c --status" }));
                seconds = secondsSince (start);
                return ok && allPlaced (peerPlan);
            };

            double oursMedian = 0, theirsMedian = 0;

            if (! alternate (runs, ours, theirs, oursMedian, theirsMedian))
                return 1;

            if (! checkSha)
            {
                std::printf ("Whole install of a %.0f MB archive (%d entries), median of %d runs each\n",
                             mebibytes (served.size), contents.size(), runs);
                std::printf ("%-52s %9s %9s %8s\n", "", "ours s", "tools s", "ratio");
            }

            std::printf ("%-52s %9.2f %9.2f %8.3f\n",
                         checkSha ? "with SHA-256 (tools: sha256sum -c after the cp)" : "no SHA-256 given",
                         oursMedian, theirsMedian, oursMedian / theirsMedian);
        }

        removeTargets (peerPlan);
        WorkFolder::folderFor (workFolderCounter.load()).deleteRecursively();
        peerFolder.deleteRecursively();
        std::printf ("ratio = our time / the tools' time; goal <= 1.10\n");
        return 0;
    }

    // ---- memory

    int memoryMode (const Served& served, const juce::File& work)
    {
        const auto file = work.getChildFile ("memory.zip");
        const auto before = statusKib ("VmHWM");
        double seconds = 0;

        if (! downloadOnce (served, file, true, seconds))
            return 1;

        std::printf ("%6.0f MB download (size and SHA-256): peak RSS %6.1f MB before, %6.1f MB after\n",
                     mebibytes (served.size), (double) before / 1024.0, (double) statusKib ("VmHWM") / 1024.0);
        return 0;
    }

    // ---- waiting

    // Five jobs through the real queue: three hold their slots for the
    // whole run without using the processor (a held download), two wait for
    // a slot and poll once a second. The process's CPU time over the run is
    // what the waiting costs.
    double processCpuSeconds()
    {
       #if JUCE_WINDOWS
        return 0.0;
       #else
        rusage usage {};
        getrusage (RUSAGE_SELF, &usage);
        return (double) usage.ru_utime.tv_sec + (double) usage.ru_utime.tv_usec / 1e6
             + (double) usage.ru_stime.tv_sec + (double) usage.ru_stime.tv_usec / 1e6;
       #endif
    }

    int waitingMode (int seconds)
    {
        juce::WaitableEvent release { true };
        InstallQueueOptions options;
        options.work = [&release] (InstallJobPtr job, const InstallRequest&, const InstallSequenceOptions&)
        {
            job->reportProgress (0.0, InstallPhase::downloading);
            while (! release.wait (100) && ! job->cancelRequested) {}
            job->complete (true, false, {});
        };

        const auto cpuBefore = processCpuSeconds();
        const auto wallBefore = juce::Time::getMillisecondCounterHiRes();
        int waitingSeen = 0;

        {
            InstallQueue queue (options);

            for (auto key : { "a", "b", "c", "d", "e" })
                queue.start (key, InstallRequest {});

            juce::Thread::sleep (seconds * 1000);

            for (auto key : { "a", "b", "c", "d", "e" })
                waitingSeen += queue.jobFor (key)->phase() == InstallPhase::waiting ? 1 : 0;

            release.signal();

            for (auto key : { "a", "b", "c", "d", "e" })
                while (! queue.jobFor (key)->isComplete())
                    juce::Thread::sleep (10);
        }

        while (WorkInFlight::count() > 0)
            juce::Thread::sleep (10);

        const auto cpu = processCpuSeconds() - cpuBefore;
        const auto wall = (juce::Time::getMillisecondCounterHiRes() - wallBefore) / 1000.0;
        std::printf ("waiting: %d jobs waited for a slot for %d s; process CPU %.1f ms over %.1f s (%.3f %% of one core)\n",
                     waitingSeen, seconds, cpu * 1000.0, wall, 100.0 * cpu / wall);
        return waitingSeen == 2 ? 0 : 1;
    }

    bool readServed (char** argv, Served& served)
    {
        served.url = juce::URL (argv[2]);
        served.size = juce::File (argv[3]).getSize();
        served.sha256 = juce::String (argv[4]).trim().toLowerCase();
        return served.size > 0 && served.sha256.length() == 64;
    }

    int usage()
    {
        std::printf ("usage: bench_install download <url> <served file> <sha256> <work folder> [runs]\n"
                     "       bench_install install <url> <served file> <sha256> <contents file> <work folder> [runs]\n"
                     "       bench_install memory <url> <served file> <sha256> <work folder>\n"
                     "       bench_install waiting [seconds]\n");
        return 2;
    }
}

int main (int argc, char** argv)
{
    const juce::String mode (argc > 1 ? argv[1] : "");

    if (mode == "waiting")
        return waitingMode (argc > 2 ? juce::jmax (1, std::atoi (argv[2])) : 10);

    Served served;

    if (argc < 6 || ! readServed (argv, served))
        return usage();

    if (Locations::sandboxRoot() == juce::File())
    {
        std::printf ("set VAMRHELPER_ROOT to a sandbox folder first\n");
        return 2;
    }

    if (mode == "download")
        return downloadMode (served, juce::File (argv[5]), argc > 6 ? std::max (1, std::atoi (argv[6])) : 3);

    if (mode == "install" && argc > 6)
        return installMode (served, juce::File (argv[5]), juce::File (argv[6]), argc > 7 ? std::max (1, std::atoi (argv[7])) : 3);

    if (mode == "memory")
        return memoryMode (served, juce::File (argv[5]));

    return usage();
}
