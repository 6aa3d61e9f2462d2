#pragma once

#include "install/InstallJob.h"

/** A product's user manual: fetched from the address the service hands out,
    saved in the user's Documents folder as "<title> manual.pdf" and opened
    in the system's viewer.

    The bytes go to a hidden temporary file beside the manual, which replaces
    the manual only once the whole answer has arrived, so a failed download
    never leaves an error page or a truncated PDF where a good manual was.
    Only a 200 answer is written. A title that would lead out of the
    Documents folder is made into a plain file name, and the log says so. */
namespace ManualDownload
{
    /** The waits of one manual download. */
    struct Options
    {
        int connectTimeoutMs = 30000;

        /** A connection that sends nothing for this long fails the download. */
        int readTimeoutMs = 30000;

        int maxRedirects = 5;
    };

    /** "<title> manual.pdf", made into a plain file name. */
    juce::String fileNameFor (const juce::String& title);

    /** Where the manual of a product with this title is saved. */
    juce::File fileFor (const juce::String& title);

    /** Fetches the manual into target through a temporary sibling file.
        True when target now holds the whole answer; otherwise target is as
        it was, nothing else is left behind and the log says why. The job's
        requestStop breaks off the transfer within one read. Progress goes to
        the job when the answer gives its length. Blocks; worker thread. */
    bool fetch (InstallJob& job, const juce::URL& url, const juce::File& target, const Options& options = {});

    /** The "User manual" button's click (message thread): asks the service
        for the address (blocking), then fetches and opens the manual on a
        thread of its own, registered with the work in flight. The job is
        returned so its end can be awaited; nullptr when nothing was started
        (no name, or no address from the service). */
    InstallJobPtr start (const juce::String& name, const juce::String& title, const juce::String& token,
                         const Options& options = {});
}
