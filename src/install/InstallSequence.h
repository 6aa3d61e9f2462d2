#pragma once

#include "install/InstallJob.h"
#include "localstate/FormatSettings.h"

/** What one install needs to know about its product. */
struct InstallRequest
{
    juce::URL url;                    // the archive's download address
    juce::StringArray contents;       // the product's entries
    juce::String parentTitle;         // the parent plugin's title for an expansion, else empty
    juce::String title;               // for log lines
    FormatSettings settings;          // a copy: later changes do not reach a running job
    juce::int64 expectedSize = 0;     // the catalogue's "filesize"; 0 or less when unknown
    juce::String expectedSha256;      // the catalogue's "sha256" in hex; empty when not given
};

/** Fetches the archive into the given file. True when it is complete or when
    the job was stopped; false when it failed. */
using DownloadStep = std::function<bool (InstallJob& job, const juce::URL& url,
                                         const juce::File& archive, juce::int64 expectedSize)>;

struct InstallSequenceOptions
{
    /** downloadArchive with the request's size and SHA-256 when left empty. */
    DownloadStep download;

    /** A finished install reports its outcome this much later, on the message thread. */
    int completionDelayMs = 2000;

    /** The machine-wide data folder; Locations::dataFolder() when left invalid. */
    juce::File dataFolder;
};

/** The whole install on the job's worker thread: a fresh numbered work
    folder, the download, the unpacking and the placement. Every ending
    delivers the job's outcome exactly once:
    - stopped before it began: (true, true, "stopped"), nothing touched;
    - stopped during the download: (true, true, "stopped"), work folder removed;
    - download failed: (false, false, "Download failed");
    - the unpacking tool could not start: (false, false, "Unzip/installation failed");
    - otherwise, completionDelayMs after placement on the message thread:
      (true, false, the last placement error or empty). */
void downloadAndInstall (InstallJobPtr job, const InstallRequest& request, const InstallSequenceOptions& options);
