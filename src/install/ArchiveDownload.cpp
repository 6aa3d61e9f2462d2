#include "install/ArchiveDownload.h"

#include "install/ArchiveVerification.h"
#include "install/DownloadAnswerRule.h"
#include "log/DiagnosticLog.h"
#include "platform/HttpTransport.h"
#include "platform/Sha256.h"
#include "platform/WorkInFlight.h"

#include <thread>

namespace
{
    using DownloadAnswerRule::Action;

    /** Publishes the transfer's stop object in the job for as long as the download runs. */
    struct PublishedStop
    {
        PublishedStop (InstallJob& j, std::shared_ptr<HttpTransferStop> stop) : job (j) { job.setTransferStop (std::move (stop)); }
        ~PublishedStop() { job.setTransferStop (nullptr); }

        InstallJob& job;
    };

    /** Sleeps, but wakes for a stop within 10 ms. */
    void pause (const InstallJob& job, int ms)
    {
        const auto until = juce::Time::getMillisecondCounterHiRes() + ms;

        while (! job.cancelRequested && juce::Time::getMillisecondCounterHiRes() < until)
            std::this_thread::sleep_for (std::chrono::milliseconds (10));
    }

    std::unique_ptr<juce::FileOutputStream> openArchive (const juce::File& archive, Action action, juce::int64 onDisk, int bufferBytes)
    {
        auto out = std::make_unique<juce::FileOutputStream> (archive, (size_t) juce::jmax (1, bufferBytes));

        if (! out->openedOk())
            return nullptr;

        if (action == Action::writeFromStart)
        {
            if (! out->setPosition (0) || out->truncate().failed())
                return nullptr;
        }
        else if (out->getPosition() != onDisk)
        {
            return nullptr;   // the file changed under us; its end is not where the range starts
        }

        return out;
    }

    /** One attempt's view of what happened to the file. */
    struct Attempt
    {
        std::unique_ptr<juce::FileOutputStream> out;
        bool accepted = false;
        bool cannotWrite = false;
        bool tooLong = false;
        juce::int64 serverSize = -1;
    };

    /** The digest of every byte written to the archive, or empty when the
        hasher does not cover exactly the file (the file is then read again). */
    juce::String digestOf (const juce::File& archive, Sha256& hasher)
    {
        const auto size = archive.existsAsFile() ? archive.getSize() : (juce::int64) -1;
        return hasher.bytesAdded() == size ? hasher.finishHex() : juce::String();
    }

    bool verified (const juce::File& archive, juce::int64 expectedSize, const juce::String& expectedSha256, Sha256& hasher)
    {
        const auto computed = expectedSha256.trim().isNotEmpty() ? digestOf (archive, hasher) : juce::String();
        const auto why = ArchiveVerification::mismatch (archive, expectedSize, expectedSha256, computed);

        if (why.isEmpty())
            return true;

        writeLog ("download failed: " + why + "; the archive is deleted");
        archive.deleteFile();
        return false;
    }

    juce::String describe (const HttpTransport::Result& result)
    {
        if (result.status > 0 && result.status != 200 && result.status != 206)
            return "HTTP " + juce::String (result.status);

        return result.error.isNotEmpty() ? result.error : juce::String ("the answer ended early");
    }
}

bool downloadArchive (InstallJob& job, const juce::URL& url, const juce::File& archive, juce::int64 expectedSize,
                      const juce::String& expectedSha256, const ArchiveDownloadOptions& options)
{
    const auto address = url.toString (true);
    const WorkInFlight::Registration inFlight ("download " + address, [&job] { job.requestStop(); });
    const auto stop = std::make_shared<HttpTransferStop>();
    const PublishedStop published (job, stop);

    job.reportProgress (0.0, InstallPhase::downloading);

    // The whole archive's size, for progress: the catalogue's, else the server's once it says.
    juce::int64 total = expectedSize > 0 ? expectedSize : 0;
    juce::int64 reportedAt = 0;

    // Every byte is hashed as it is written, so the finished archive is not
    // read a second time for its SHA-256.
    const auto hashing = expectedSha256.trim().isNotEmpty();
    Sha256 hasher;

    for (int attempt = 1; attempt <= options.maxAttempts; ++attempt)
    {
        if (job.cancelRequested)
            return true;

        const auto onDisk = archive.existsAsFile() ? archive.getSize() : (juce::int64) 0;

        // Bytes already on disk that this hasher has not seen (an earlier
        // run's, or a file that changed) are hashed from the file once, so a
        // resumed archive's digest covers its start too.
        if (hashing && onDisk > 0 && hasher.bytesAdded() != onDisk)
        {
            hasher.reset();
            hasher.updateFromFile (archive, onDisk, [&job] { return ! job.cancelRequested; });
        }
        else if (hashing && onDisk == 0)
        {
            hasher.reset();
        }

        if (job.cancelRequested)
            return true;

        HttpTransport::Request request;
        request.address = address;
        request.connectTimeoutMs = options.connectTimeoutMs;
        request.readTimeoutMs = options.stallWaitMs;
        request.maxRedirects = options.maxRedirects;
        request.rangeFrom = onDisk > 0 ? onDisk : -1;

        Attempt state;

        request.acceptAnswer = [&] (int status, const juce::StringPairArray& headers)
        {
            const auto contentRange = headers["Content-Range"];
            const auto action = DownloadAnswerRule::actionFor (status, contentRange, onDisk, expectedSize);

            if (action != Action::writeFromStart && action != Action::append)
                return false;

            const auto length = headers.containsKey ("Content-Length") ? headers["Content-Length"].getLargeIntValue() : -1;
            state.serverSize = DownloadAnswerRule::fullSizeFrom (status, contentRange, length);

            // The server's archive is not the catalogue's: nothing of it is worth storing.
            if (expectedSize > 0 && state.serverSize >= 0 && state.serverSize != expectedSize)
                return false;

            if (action == Action::writeFromStart)
                hasher.reset();

            state.out = openArchive (archive, action, onDisk, options.bufferBytes);
            state.cannotWrite = state.out == nullptr;
            state.accepted = ! state.cannotWrite;
            reportedAt = action == Action::append ? onDisk : 0;

            if (total <= 0 && state.serverSize > 0)
                total = state.serverSize;

            return state.accepted;
        };

        const auto receive = [&] (const void* data, size_t size)
        {
            if (job.cancelRequested)
                return false;

            // Never let a server that sends more than it should fill the disk.
            if (expectedSize > 0 && state.out->getPosition() + (juce::int64) size > expectedSize)
            {
                state.tooLong = true;
                return false;
            }

            if (! state.out->write (data, size))
            {
                state.cannotWrite = true;
                return false;
            }

            if (hashing)
                hasher.update (data, size);

            // One report per buffer's worth, as often as the whole buffer would be read.
            const auto position = state.out->getPosition();

            if (total > 0 && (position - reportedAt >= options.bufferBytes || position >= total))
            {
                reportedAt = position;
                job.reportProgress (juce::jlimit (0.0, 1.0, (double) position / (double) total), InstallPhase::downloading);
            }

            return true;
        };

        const auto result = HttpTransport::perform (request, receive, stop.get());

        if (state.out != nullptr)
        {
            state.out->flush();
            state.cannotWrite = state.cannotWrite || state.out->getStatus().failed();
            state.out.reset();
        }

        if (job.cancelRequested)
            return true;

        if (state.cannotWrite)
        {
            writeLog ("download failed: cannot write " + archive.getFullPathName());
            return false;
        }

        if (state.serverSize >= 0 && expectedSize > 0 && state.serverSize != expectedSize)
        {
            writeLog ("download failed: the server's archive has " + juce::String (state.serverSize)
                      + " bytes, the catalogue gives " + juce::String (expectedSize) + "; the archive is deleted");
            archive.deleteFile();
            return false;
        }

        if (state.tooLong)
        {
            writeLog ("download failed: the server sent more than the catalogue's " + juce::String (expectedSize)
                      + " bytes; the archive is deleted");
            archive.deleteFile();
            return false;
        }

        if (result.status == 416)
        {
            if (DownloadAnswerRule::actionFor (416, result.contentRange, onDisk, expectedSize) == Action::alreadyComplete)
                return verified (archive, expectedSize, expectedSha256, hasher);

            // The bytes on disk are not a start of the server's archive.
            writeLog ("download attempt " + juce::String (attempt) + ": range " + juce::String (onDisk)
                      + "- refused; starting the archive again");
            archive.deleteFile();
            continue;
        }

        const auto size = archive.existsAsFile() ? archive.getSize() : (juce::int64) 0;
        const auto wanted = expectedSize > 0 ? expectedSize : state.serverSize;

        if (state.accepted && result.isComplete() && (wanted > 0 ? size >= wanted : size > 0))
            return verified (archive, expectedSize, expectedSha256, hasher);

        writeLog ("download attempt " + juce::String (attempt) + " of " + juce::String (options.maxAttempts)
                  + " ended at " + juce::String (size) + " bytes: " + describe (result));

        if (result.failure == HttpTransport::Failure::timedOut && state.accepted)
            pause (job, options.stallPauseMs);
    }

    if (job.cancelRequested)
        return true;

    writeLog ("download failed after " + juce::String (options.maxAttempts) + " attempts: " + address);
    return false;
}
