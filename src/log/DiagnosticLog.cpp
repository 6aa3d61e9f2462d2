#include "log/DiagnosticLog.h"

#include "platform/FileAppend.h"
#include "platform/Locations.h"

#include <mutex>

namespace
{
    // One lock for every append and trim of every writer: both writers share
    // one file, and a trim replaces that file.
    std::mutex& logFileLock()
    {
        static std::mutex lock;
        return lock;
    }

    const char* const lineEnd = "\r\n";
}

LogWriter::LogWriter (juce::File logFile)
    : file (std::move (logFile))
{
}

juce::String LogWriter::currentTimeStamp()
{
    return juce::String (juce::Time::currentTimeMillis());
}

juce::String LogWriter::headerBlock (const juce::String& timeStamp)
{
    return juce::String (lineEnd)
         + juce::String::repeatedString ("*", 58) + lineEnd
         + "VDS log" + lineEnd
         + "Log started: " + timeStamp + lineEnd;
}

bool LogWriter::ensureCreated()
{
    const std::lock_guard<std::mutex> guard (logFileLock());
    return createLocked();
}

bool LogWriter::createLocked()
{
    if (created)
        return true;

    if (! file.getParentDirectory().createDirectory())
        return false;

    juce::FileLogger::trimFileSize (file, maxFileSize);
    appendLocked (headerBlock (currentTimeStamp()));
    created = true;
    return true;
}

void LogWriter::appendLocked (const juce::String& text)
{
    // Other instances write the same file (a link-started process, the two
    // processes of a self-update): each line goes to the end in one piece.
    const auto line = text + lineEnd;
    FileAppend::append (file, line.toRawUTF8(), line.getNumBytesAsUTF8());
}

void LogWriter::write (const juce::String& message)
{
    const std::lock_guard<std::mutex> guard (logFileLock());

    if (! createLocked())
        return;

    appendLocked (currentTimeStamp() + " " + message);

    if (++counter >= linesBetweenTrims)
    {
        counter = 0;
        juce::FileLogger::trimFileSize (file, maxFileSize);
    }
}

juce::File logFileLocation()
{
    return Locations::userApplicationData().getChildFile ("Vamrelund").getChildFile ("VDS.txt");
}

// Both writers live until the process ends, so a thread that logs during
// shutdown never reaches a destroyed object.
LogWriter& generalLogWriter()
{
    static auto* writer = new LogWriter (logFileLocation());
    return *writer;
}

LogWriter& updateLogWriter()
{
    static auto* writer = new LogWriter (logFileLocation());
    return *writer;
}

void writeLog (const juce::String& message)        { generalLogWriter().write (message); }
void writeUpdateLog (const juce::String& message)  { updateLogWriter().write (message); }
