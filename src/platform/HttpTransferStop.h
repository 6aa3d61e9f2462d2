#pragma once

#include <atomic>
#include <functional>
#include <mutex>

/** Stops an HTTP transfer that runs on another thread.

    stop() is sticky and may come from any thread, before, during or after
    the transfer. While a transfer runs, it attaches the action that breaks
    it off at once (on Linux: shutting down its socket; on Windows: cancelling
    the stream), so a blocked read returns instead of waiting for data. The
    action runs under the lock that detach() takes, so once detach() has
    returned, nothing the action refers to is touched again. */
class HttpTransferStop
{
public:
    void stop();
    bool isStopped() const noexcept { return stopped.load(); }

    /** Registers the break-off action of the running transfer. False, and
        nothing registered, when stop() already came. */
    bool attach (std::function<void()> breakOff);
    void detach();

private:
    std::mutex lock;
    std::function<void()> current;
    std::atomic<bool> stopped { false };
};
