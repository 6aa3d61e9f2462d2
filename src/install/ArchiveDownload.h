#pragma once

#include "install/InstallJob.h"

/** The waits and limits of one archive download. The defaults are the
    product's; tests shorten the waits. */
struct ArchiveDownloadOptions
{
    int bufferBytes = 131072;          // the one buffer between the network and the file
    int maxAttempts = 12;
    int connectTimeoutMs = 60000;
    int maxRedirects = 5;

    /** A connection that sends nothing for this long ends its attempt... */
    int stallWaitMs = 30000;

    /** ...after this pause, and the next attempt resumes where the file ends. */
    int stallPauseMs = 5000;
};

/** Fetches the archive at url into the file, resuming with a Range request
    where an earlier attempt stopped, over at most maxAttempts attempts.

    Only a whole file (200) or the exact continuation of the bytes on disk
    (206) is written, so an error page never becomes the archive and a server
    that ignores the range restarts the file instead of doubling its start.
    A complete archive must have the expected size (when above 0) and the
    expected SHA-256 (hex, when not empty); one that does not is deleted and
    the download fails, with the reason in the log.

    True when the archive is complete, or when the job was stopped (cancel
    flag or InstallJob::requestStop, which ends a running transfer within one
    read; so does quitting). False when it failed. Runs on the job's worker
    thread and reports progress in the downloading phase. */
bool downloadArchive (InstallJob& job, const juce::URL& url, const juce::File& archive, juce::int64 expectedSize,
                      const juce::String& expectedSha256 = {}, const ArchiveDownloadOptions& options = {});
