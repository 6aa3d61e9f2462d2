#include "platform/HttpTransferStop.h"

void HttpTransferStop::stop()
{
    const std::lock_guard<std::mutex> guard (lock);
    stopped = true;

    if (current)
        current();
}

bool HttpTransferStop::attach (std::function<void()> breakOff)
{
    const std::lock_guard<std::mutex> guard (lock);

    if (stopped)
        return false;

    current = std::move (breakOff);
    return true;
}

void HttpTransferStop::detach()
{
    const std::lock_guard<std::mutex> guard (lock);
    current = nullptr;
}
