#include "platform/Browser.h"

#include <mutex>

namespace
{
    std::mutex handlerLock;
    std::function<bool (const juce::String&)> currentHandler;

    std::function<bool (const juce::String&)> exchangeHandler (std::function<bool (const juce::String&)> next)
    {
        const std::lock_guard<std::mutex> guard (handlerLock);
        std::swap (currentHandler, next);
        return next;
    }
}

namespace Browser
{
    bool isWebAddress (const juce::String& address)
    {
        const auto scheme = address.upToFirstOccurrenceOf ("://", false, false).toLowerCase();

        if (scheme != "http" && scheme != "https")
            return false;

        const auto rest = address.fromFirstOccurrenceOf ("://", false, false);
        const auto host = rest.upToFirstOccurrenceOf ("/", false, false)
                              .upToFirstOccurrenceOf ("?", false, false)
                              .upToFirstOccurrenceOf ("#", false, false);

        if (host.isEmpty())
            return false;

        // No spaces, quotes or control characters anywhere.
        for (auto c : address)
            if (c <= 0x20 || c == 0x7f || c == '"' || c == '\\' || c == '`')
                return false;

        return true;
    }

    OpenResult openURL (const juce::String& address)
    {
        if (! isWebAddress (address))
            return OpenResult::refused;

        std::function<bool (const juce::String&)> handler;
        {
            const std::lock_guard<std::mutex> guard (handlerLock);
            handler = currentHandler;
        }

        const auto launched = handler ? handler (address) : launchSystemBrowser (address);
        return launched ? OpenResult::opened : OpenResult::launchFailed;
    }

    ScopedHandler::ScopedHandler (std::function<bool (const juce::String&)> handler)
        : previous (exchangeHandler (std::move (handler)))
    {
    }

    ScopedHandler::~ScopedHandler()
    {
        exchangeHandler (std::move (previous));
    }
}
