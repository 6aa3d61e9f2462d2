#include "platform/BrokenPipeSignal.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
    /** Puts SIGPIPE back to what it was when the scope ends. */
    class ScopedBrokenPipeAction
    {
    public:
        ScopedBrokenPipeAction()   { sigaction (SIGPIPE, nullptr, &saved); }
        ~ScopedBrokenPipeAction()  { sigaction (SIGPIPE, &saved, nullptr); }

    private:
        struct sigaction saved {};
    };

    /** Two connected descriptors: what is written to the second comes out of the first. */
    struct Ends { int reader = -1, writer = -1; };

    Ends socketEnds()
    {
        int fds[2] { -1, -1 };
        socketpair (AF_UNIX, SOCK_STREAM, 0, fds);
        return { fds[0], fds[1] };
    }

    Ends pipeEnds()
    {
        int fds[2] { -1, -1 };
        if (pipe (fds) != 0)
            return {};
        return { fds[0], fds[1] };
    }

    Ends fifoEnds (const juce::File& folder)
    {
        const auto path = folder.getChildFile ("fifo").getFullPathName();

        if (mkfifo (path.toRawUTF8(), 0600) != 0)
            return {};

        // The reader first, without blocking, so that the writer's open returns at once.
        const int reader = open (path.toRawUTF8(), O_RDONLY | O_NONBLOCK);
        return { reader, open (path.toRawUTF8(), O_WRONLY | O_NONBLOCK) };
    }

    /** The signal mask of a /proc status line such as "SigIgn:\t0000000000001000". */
    juce::uint64 maskFrom (const juce::String& status, const juce::String& field)
    {
        const auto line = status.fromFirstOccurrenceOf (field + ":", false, false)
                                .upToFirstOccurrenceOf ("\n", false, false).trim();
        return (juce::uint64) line.getHexValue64();
    }
}

TEST (BrokenPipeSignalLinux, AWriteWhoseReaderHasGoneFailsWithEpipe)
{
    ScopedSandbox sandbox;
    ScopedBrokenPipeAction restore;

    // From the default, which would end this process at the first write below.
    signal (SIGPIPE, SIG_DFL);
    BrokenPipeSignal::ignore();

    const std::pair<const char*, std::function<Ends()>> writers[] {
        { "socket", socketEnds },
        { "pipe",   pipeEnds },
        { "fifo",   [&] { return fifoEnds (sandbox.root()); } },
    };

    for (const auto& [kind, makeEnds] : writers)
    {
        SCOPED_TRACE (kind);
        const auto ends = makeEnds();
        ASSERT_GE (ends.reader, 0);
        ASSERT_GE (ends.writer, 0);

        close (ends.reader);
        errno = 0;
        const char byte = 'x';
        const auto written = write (ends.writer, &byte, 1);
        const auto error = errno;
        close (ends.writer);

        EXPECT_EQ (written, -1);
        EXPECT_EQ (error, EPIPE);
    }
}

TEST (BrokenPipeSignalLinux, ProgramsStartedAfterwardsHaveTheUsualSignal)
{
    ScopedBrokenPipeAction restore;
    BrokenPipeSignal::ignore();

    // An ignored signal would stay ignored in every program the app starts;
    // a handler is reset when the program is loaded.
    juce::ChildProcess status;
    ASSERT_TRUE (status.start (juce::StringArray { "cat", "/proc/self/status" }));
    const auto text = status.readAllProcessOutput();
    ASSERT_TRUE (text.contains ("SigIgn:")) << text;

    const auto brokenPipeBit = (juce::uint64) 1 << (SIGPIPE - 1);
    EXPECT_EQ (maskFrom (text, "SigIgn") & brokenPipeBit, 0u) << text;
    EXPECT_EQ (maskFrom (text, "SigCgt") & brokenPipeBit, 0u) << text;
}
