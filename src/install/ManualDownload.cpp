#include "install/ManualDownload.h"

#include "cloud/DownloadLocations.h"
#include "install/DownloadAnswerRule.h"
#include "install/WorkFolder.h"
#include "localstate/PlainFileName.h"
#include "log/DiagnosticLog.h"
#include "platform/FileOpener.h"
#include "platform/HttpTransport.h"
#include "platform/Locations.h"
#include "platform/WorkInFlight.h"

namespace
{
    /** Publishes the transfer's stop object in the job while the fetch runs. */
    struct PublishedStop
    {
        PublishedStop (InstallJob& j, std::shared_ptr<HttpTransferStop> stop) : job (j) { job.setTransferStop (std::move (stop)); }
        ~PublishedStop() { job.setTransferStop (nullptr); }

        InstallJob& job;
    };

    juce::String describe (const HttpTransport::Result& result, bool cannotWrite)
    {
        if (cannotWrite)
            return "cannot write the temporary file";

        if (result.status > 0 && result.status != 200)
            return "HTTP " + juce::String (result.status);

        if (! result.isComplete())
            return result.error.isNotEmpty() ? result.error : juce::String ("the answer ended early");

        return "the answer was empty";
    }

    void openDownloaded (const juce::File& file)
    {
        switch (FileOpener::openFile (file))
        {
            case FileOpener::OpenResult::opened:
                writeLog ("manual opened <" + file.getFullPathName() + ">");
                break;
            case FileOpener::OpenResult::missing:
                writeLog ("manual not opened, the file is missing <" + file.getFullPathName() + ">");
                break;
            case FileOpener::OpenResult::launchFailed:
            default:
                writeLog ("manual could not be opened <" + file.getFullPathName() + ">");
                break;
        }
    }
}

namespace ManualDownload
{
    juce::String fileNameFor (const juce::String& title)
    {
        return plainFileNameFrom (title + " manual.pdf");
    }

    juce::File fileFor (const juce::String& title)
    {
        return Locations::userDocuments().getChildFile (fileNameFor (title));
    }

    bool fetch (InstallJob& job, const juce::URL& url, const juce::File& target, const Options& options)
    {
        const auto stop = std::make_shared<HttpTransferStop>();
        const PublishedStop published (job, stop);

        if (job.cancelRequested)
        {
            writeLog ("download manual stopped before it began");
            return false;
        }

        if (! target.getParentDirectory().createDirectory())
        {
            writeLog ("download manual failed: cannot create " + target.getParentDirectory().getFullPathName());
            return false;
        }

        // Deleted with this object unless it has replaced the manual.
        const juce::TemporaryFile temporary (target, juce::TemporaryFile::useHiddenFile);
        auto out = std::make_unique<juce::FileOutputStream> (temporary.getFile());
        bool accepted = false, cannotWrite = ! out->openedOk();
        juce::int64 received = 0, announced = -1;

        HttpTransport::Request request;
        request.address = url.toString (true);
        request.connectTimeoutMs = options.connectTimeoutMs;
        request.readTimeoutMs = options.readTimeoutMs;
        request.maxRedirects = options.maxRedirects;

        // An error page is never the manual: only a whole file is written.
        request.acceptAnswer = [&] (int status, const juce::StringPairArray& headers)
        {
            accepted = ! cannotWrite
                    && DownloadAnswerRule::actionFor (status, headers["Content-Range"], 0, -1)
                           == DownloadAnswerRule::Action::writeFromStart;
            announced = headers.containsKey ("Content-Length") ? headers["Content-Length"].getLargeIntValue() : -1;
            return accepted;
        };

        const auto receive = [&] (const void* data, size_t size)
        {
            if (job.cancelRequested)
                return false;

            cannotWrite = ! out->write (data, size);
            received += (juce::int64) size;

            if (announced > 0)
                job.reportProgress (juce::jlimit (0.0, 1.0, (double) received / (double) announced), InstallPhase::downloading);

            return ! cannotWrite;
        };

        const auto result = cannotWrite ? HttpTransport::Result() : HttpTransport::perform (request, receive, stop.get());

        out->flush();
        cannotWrite = cannotWrite || out->getStatus().failed();
        out.reset();

        if (job.cancelRequested)
        {
            writeLog ("download manual stopped <" + request.address + ">");
            return false;
        }

        if (cannotWrite || ! accepted || ! result.isComplete() || result.bodyBytes <= 0)
        {
            writeLog ("download manual failed: " + describe (result, cannotWrite) + " <" + request.address + ">");
            return false;
        }

        if (! temporary.overwriteTargetFileWithTemporary())
        {
            writeLog ("download manual failed: cannot replace " + target.getFullPathName());
            return false;
        }

        return true;
    }

    InstallJobPtr start (const juce::String& name, const juce::String& title, const juce::String& token,
                         const Options& options)
    {
        if (name.isEmpty())
            return nullptr;

        const auto url = VRCloud::getManualResourceURL (name, token);
        writeLog ("getManualResourceURL url = " + url);

        if (url.isEmpty())
            return nullptr;

        const auto fileName = fileNameFor (title);

        if (fileName != title + " manual.pdf")
            writeLog ("manual file name <" + fileName + "> made plain from the title <" + title + ">");

        const auto target = Locations::userDocuments().getChildFile (fileName);
        auto job = std::make_shared<InstallJob>();
        job->markStarted();

        job->onDownloadAndInstallCompletion = [target] (bool ok, bool, const juce::String&)
        {
            writeLog ("downloadManual result = " + juce::String (ok ? "1" : "0"));

            if (ok)
                openDownloaded (target);
        };

        // Registered before the thread exists, so a quit that comes first still stops it.
        auto inFlight = std::make_shared<WorkInFlight::Registration> ("manual " + url, [job] { job->requestStop(); });

        const auto launched = juce::Thread::launch ([job, inFlight, url, target, options]
        {
            // Later install work folders skip this number.
            WorkFolder::takeNextNumber();

            const auto ok = fetch (*job, juce::URL (url), target, options);
            job->complete (ok, false, ok ? juce::String() : juce::String ("download manual failed"));
            inFlight->finished();
        });

        if (! launched)
        {
            writeLog ("download manual: the thread could not be started");
            job->complete (false, false, "download manual: the thread could not be started");
        }

        return job;
    }
}
