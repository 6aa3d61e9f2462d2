#pragma once

/** Writing to a pipe or socket whose reader has gone.

    On Linux such a write raises SIGPIPE, which ends the process unless it
    is caught. Libraries we do not control write that way: JUCE's message
    queue is a socket pair that any thread writes to and that shutdown
    closes, reading end first, while other threads may still post; so do
    cpp-httplib 0.11 and the X connection. The signal is therefore caught
    once for the whole process, and each such write fails with EPIPE, which
    its caller sees as a failed write. Windows has no such signal: there the
    write just fails. */
namespace BrokenPipeSignal
{
    /** Call once, early, before any thread starts. The handler does nothing;
        unlike SIG_IGN it is reset when a program is loaded, so the programs
        we start (xdg-open, bsdtar) get the usual behaviour. */
    void ignore();
}
