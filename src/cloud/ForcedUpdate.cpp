#include "cloud/ForcedUpdate.h"

#include <mutex>

namespace
{
    // Held while the handler is called, so it cannot unregister (and be
    // destroyed) in the middle of a call from a request thread.
    std::mutex handlerLock;
    ForcedUpdateHandler* currentHandler = nullptr;
}

void setForcedUpdateHandler (ForcedUpdateHandler* handler)
{
    const std::lock_guard<std::mutex> guard (handlerLock);
    currentHandler = handler;
}

bool requestForcedUpdate (const juce::String& url)
{
    const std::lock_guard<std::mutex> guard (handlerLock);

    if (currentHandler == nullptr || url.isEmpty() || currentHandler->isUpdateRunning())
        return false;

    currentHandler->startForcedUpdate (url);
    return true;
}

bool requestHelperUpdate (const juce::String& url, const juce::String& version, const juce::String& build)
{
    const std::lock_guard<std::mutex> guard (handlerLock);

    if (currentHandler == nullptr || url.isEmpty())
        return false;

    currentHandler->startHelperUpdate (url, version, build);
    return true;
}
