#include "platform/FileOpener.h"

#include <mutex>

namespace
{
    std::mutex handlerLock;
    std::function<bool (const juce::File&)> currentHandler;

    std::function<bool (const juce::File&)> exchangeHandler (std::function<bool (const juce::File&)> next)
    {
        const std::lock_guard<std::mutex> guard (handlerLock);
        std::swap (currentHandler, next);
        return next;
    }
}

namespace FileOpener
{
    OpenResult openFile (const juce::File& file)
    {
        if (! file.existsAsFile())
            return OpenResult::missing;

        std::function<bool (const juce::File&)> handler;
        {
            const std::lock_guard<std::mutex> guard (handlerLock);
            handler = currentHandler;
        }

        const auto launched = handler ? handler (file) : launchSystemViewer (file);
        return launched ? OpenResult::opened : OpenResult::launchFailed;
    }

    ScopedHandler::ScopedHandler (std::function<bool (const juce::File&)> handler)
        : previous (exchangeHandler (std::move (handler)))
    {
    }

    ScopedHandler::~ScopedHandler()
    {
        exchangeHandler (std::move (previous));
    }
}
