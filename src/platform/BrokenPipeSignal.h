#pragma once

/** Writing to a pipe or socket whose reader has gone.

    On Linux such a write raises SIGPIPE, which ends the process unless it
    is handled. Sockets and pipes are written from threads we do not fully
    control (the in-process demo service of the tests, curl, X, JUCE's
    pipes), so the signal is caught once for the whole process and each of
    those writes fails with EPIPE, which its caller sees as a failed write.
    Windows has no such signal: there the write just fails. */
namespace BrokenPipeSignal
{
    /** Call once, early in main, before any thread starts. The handler does
        nothing; unlike SIG_IGN it is reset at exec, so the programs we start
        (xdg-open, bsdtar, the update worker) get the usual behaviour. */
    void ignore();
}
