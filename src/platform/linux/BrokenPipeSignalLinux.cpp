#include "platform/BrokenPipeSignal.h"

#include <csignal>

namespace
{
    void doNothing (int) {}
}

namespace BrokenPipeSignal
{
    void ignore()
    {
        struct sigaction action {};
        action.sa_handler = doNothing;
        sigemptyset (&action.sa_mask);

        // Calls interrupted by the signal carry on rather than fail with EINTR.
        action.sa_flags = SA_RESTART;
        sigaction (SIGPIPE, &action, nullptr);
    }
}
