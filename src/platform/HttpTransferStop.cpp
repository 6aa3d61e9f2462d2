#include "platform/HttpTransferStop.h"

void HttpTransferStop::stop()
{
    const std::lock_guard<std::mutex> guard (lock);
    stopped = true;

    for (auto& [key, breakOff] : running)
        breakOff();
}

std::uint64_t HttpTransferStop::attach (std::function<void()> breakOff)
{
    const std::lock_guard<std::mutex> guard (lock);

    if (stopped)
        return 0;

    running[++lastKey] = std::move (breakOff);
    return lastKey;
}

void HttpTransferStop::detach (std::uint64_t key)
{
    const std::lock_guard<std::mutex> guard (lock);
    running.erase (key);
}
