#pragma once

#include <juce_core/juce_core.h>

/** One writer of the diagnostic log file "VDS.txt".

    Every line is "<milliseconds since 1970> <message>" followed by CR LF; the
    file is opened, appended to and closed for each line. At creation the file
    is trimmed to its last 1,000,000 bytes and a header block is written, and
    the trim runs again on every 25th line of the writer.

    All appends and trims of every writer in the process share one lock, so
    lines from several threads and from both writers never tear or get lost
    in a trim that rewrites the file underneath them.
*/
class LogWriter
{
public:
    static constexpr juce::int64 maxFileSize = 1000000;
    static constexpr int linesBetweenTrims = 25;

    explicit LogWriter (juce::File logFile);

    /** Writes one line, creating the writer first if needed. A line that
        cannot be written is dropped silently. */
    void write (const juce::String& message);

    /** Creates the writer (folder, trim, header block) if that has not
        happened yet. Returns false when the log folder cannot be made. */
    bool ensureCreated();

    const juce::File& getFile() const noexcept { return file; }

    /** The time stamp of a line: milliseconds since 1970-01-01 UTC. */
    static juce::String currentTimeStamp();

    /** The header block written when a writer is created. */
    static juce::String headerBlock (const juce::String& timeStamp);

private:
    bool createLocked();
    void appendLocked (const juce::String& text);

    const juce::File file;
    bool created = false;
    int counter = 0;
};

/** Where the log lives: <user application data>\Vamrelund\VDS.txt. */
juce::File logFileLocation();

/** The general writer, used by everything but the self-update download. */
LogWriter& generalLogWriter();

/** The update writer, used only by the self-update download. */
LogWriter& updateLogWriter();

void writeLog (const juce::String& message);
void writeUpdateLog (const juce::String& message);
