#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

/** Stops an HTTP transfer that runs on another thread.

    stop() is sticky and may come from any thread, before, during or after
    the transfers it covers (one, or several on a pool). While a transfer
    runs, it attaches the action that breaks it off at once (on Linux:
    shutting down its socket; on Windows: cancelling the stream), so a
    blocked read returns instead of waiting for data. The actions run under
    the lock that detach() takes, so once detach() has returned, nothing the
    action refers to is touched again. */
class HttpTransferStop
{
public:
    void stop();
    bool isStopped() const noexcept { return stopped.load(); }

    /** Registers a running transfer's break-off action. 0, and nothing
        registered, when stop() already came; otherwise the key for detach(). */
    std::uint64_t attach (std::function<void()> breakOff);
    void detach (std::uint64_t key);

private:
    std::mutex lock;
    std::map<std::uint64_t, std::function<void()>> running;
    std::uint64_t lastKey = 0;
    std::atomic<bool> stopped { false };
};
