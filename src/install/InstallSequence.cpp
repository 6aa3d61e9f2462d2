#include "install/InstallSequence.h"

#include "install/ArchiveDownload.h"
#include "install/ArchiveUnpack.h"
#include "install/Placement.h"
#include "install/WorkFolder.h"
#include "log/DiagnosticLog.h"
#include "platform/Locations.h"

#include <cstdio>

namespace
{
    // Progress traces go to standard output, not to the log.
    void trace (const char* text)
    {
        std::fputs (text, stdout);
        std::fflush (stdout);
    }
}

void downloadAndInstall (InstallJobPtr job, const InstallRequest& request, const InstallSequenceOptions& options)
{
    // A stop that came while the job waited for its slot, or just as it took
    // one, is kept: each job is a fresh record, so the flag is never stale.
    if (job->cancelRequested)
    {
        trace ("install stopped before it started\n");
        job->complete (true, true, "stopped");
        return;
    }

    const auto workFolder = WorkFolder::folderFor (WorkFolder::takeNextNumber());
    writeLog ("Vamrfolder " + workFolder.getFullPathName() + juce::File::getSeparatorString());

    // Whatever an earlier run left under this number goes first.
    if (workFolder.exists())
        workFolder.deleteRecursively();

    workFolder.createDirectory();

    const auto archive = WorkFolder::archiveIn (workFolder);
    const bool downloaded = options.download != nullptr
                                ? options.download (*job, request.url, archive, request.expectedSize)
                                : downloadArchive (*job, request.url, archive, request.expectedSize, request.expectedSha256);

    if (job->cancelRequested)
    {
        trace ("downloading stopped\n");
        workFolder.deleteRecursively();
        job->complete (true, true, "stopped");
        return;
    }

    if (! downloaded)
    {
        writeLog ("download failed");
        job->complete (false, false, "Download failed");
        return;
    }

    trace ("downloaded ok\n");

    if (! unzipArchive (*job, archive))
    {
        writeLog ("Unzip/installation failed");
        job->complete (false, false, "Unzip/installation failed");
        return;
    }

    const auto dataFolder = options.dataFolder != juce::File() ? options.dataFolder : Locations::dataFolder();
    const auto lastPlacementError = placeFiles (request.contents, request.parentTitle, request.settings,
                                                workFolder, dataFolder);

    juce::Timer::callAfterDelay (options.completionDelayMs, [job, workFolder, lastPlacementError]
    {
        writeLog ("vamrFolderFile.getFullPathName().startsWith  " + workFolder.getFullPathName());
        job->complete (true, false, lastPlacementError);
    });
}
