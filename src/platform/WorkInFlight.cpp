#include "platform/WorkInFlight.h"

#include <condition_variable>
#include <mutex>
#include <set>
#include <vector>

namespace WorkInFlight
{
    struct Registration::Entry
    {
        juce::String name;

        std::mutex lock;
        std::condition_variable finishedSignal;
        std::function<void()> requestStop;   // guarded by lock; empty once finished
        bool done = false;                   // guarded by lock
        std::atomic<bool> stopWanted { false };

        void stop()
        {
            stopWanted = true;
            const std::lock_guard<std::mutex> guard (lock);

            if (! done && requestStop)
                requestStop();
        }
    };

    namespace
    {
        struct Registry
        {
            std::mutex lock;
            std::set<std::shared_ptr<Registration::Entry>> entries;
        };

        Registry& registry()
        {
            static Registry r;   // never destroyed before the work that uses it
            return r;
        }
    }

    Registration::Registration (const juce::String& name, std::function<void()> requestStop)
        : entry (std::make_shared<Entry>())
    {
        entry->name = name;
        entry->requestStop = std::move (requestStop);

        auto& r = registry();
        const std::lock_guard<std::mutex> guard (r.lock);
        r.entries.insert (entry);
    }

    Registration::~Registration()
    {
        finished();
    }

    void Registration::finished()
    {
        // Out of the registry first, so whoever sees this work done also
        // sees it gone from count().
        {
            auto& r = registry();
            const std::lock_guard<std::mutex> guard (r.lock);
            r.entries.erase (entry);
        }

        {
            const std::lock_guard<std::mutex> guard (entry->lock);

            if (entry->done)
                return;

            entry->done = true;
            entry->requestStop = nullptr;
        }

        entry->finishedSignal.notify_all();
    }

    bool Registration::stopRequested() const noexcept
    {
        return entry->stopWanted.load();
    }

    juce::StringArray stopAll (int timeoutMs)
    {
        std::vector<std::shared_ptr<Registration::Entry>> running;

        {
            auto& r = registry();
            const std::lock_guard<std::mutex> guard (r.lock);
            running.assign (r.entries.begin(), r.entries.end());
        }

        // Everything is asked first, so all of it winds down in parallel.
        for (auto& e : running)
            e->stop();

        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds (timeoutMs);
        juce::StringArray left;

        for (auto& e : running)
        {
            std::unique_lock<std::mutex> guard (e->lock);

            if (! e->finishedSignal.wait_until (guard, deadline, [&e] { return e->done; }))
                left.add (e->name);
        }

        return left;
    }

    int count()
    {
        auto& r = registry();
        const std::lock_guard<std::mutex> guard (r.lock);
        return (int) r.entries.size();
    }
}
