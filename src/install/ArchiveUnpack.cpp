#include "install/ArchiveUnpack.h"

#include "install/UnpackOutputLines.h"
#include "install/ZipEntryCount.h"
#include "log/DiagnosticLog.h"
#include "platform/UnpackTool.h"

namespace
{
    constexpr int maxBytesPerPoll = 16384;
    constexpr int pollIntervalMs = 20;

    // On Linux a read blocks until the buffer is full or the tool exits, so
    // reads are small to let progress move between entries; a short read
    // means nothing more is waiting.
    constexpr int readSize = 512;

    /** Reads what the tool has written, at most maxBytesPerPoll; returns how much. */
    int readAvailable (juce::ChildProcess& tool, UnpackOutputLines& lines, const std::function<void (float)>& report)
    {
        char buffer[readSize];
        int total = 0;

        while (total < maxBytesPerPoll)
        {
            const auto got = tool.readProcessOutput (buffer, readSize);

            if (got <= 0)
                break;

            lines.feed (buffer, (size_t) got, report);
            total += got;

            if (got < readSize)
                break;
        }

        return total;
    }
}

bool unzipArchive (InstallJob& job, const juce::File& archive)
{
    writeLog ("Unzip, counting files...");
    const auto entries = countZipEntries (archive);
    writeLog ("Will unzip num files: " + juce::String (entries));

    juce::ChildProcess tool;

    if (! UnpackTool::start (tool, archive, archive.getParentDirectory()))
    {
        writeLog ("unzip/tar failed to start");
        return false;
    }

    UnpackOutputLines lines (entries);
    const auto report = [&job] (float fraction) { job.reportProgress (fraction, InstallPhase::installing); };

    while (tool.isRunning())
    {
        readAvailable (tool, lines, report);
        juce::Thread::sleep (pollIntervalMs);
    }

    // What the tool wrote just before it exited still counts, so the bar ends full.
    while (readAvailable (tool, lines, report) > 0)
        ;

    return true;
}
