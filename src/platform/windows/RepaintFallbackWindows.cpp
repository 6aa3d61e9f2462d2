#include "platform/RepaintFallback.h"

#include <map>
#include <memory>

namespace RepaintFallback
{
    namespace
    {
        /** One window: when it appeared, and whether a vertical blank ever came. */
        struct WatchedPeer : public juce::ComponentPeer::VBlankListener
        {
            explicit WatchedPeer (juce::ComponentPeer& p) : peer (&p), component (&p.getComponent())
            {
                p.addVBlankListener (this);
            }

            ~WatchedPeer() override
            {
                // The peer may have gone first; it then holds no pointer to us.
                if (peer != nullptr && juce::ComponentPeer::isValidPeer (peer))
                    peer->removeVBlankListener (this);
            }

            void onVBlank() override { vBlankSeen = true; }

            juce::ComponentPeer* peer;
            juce::Component* component;
            juce::uint32 firstSeenMs = juce::Time::getMillisecondCounter();
            bool vBlankSeen = false;
        };

        class Watcher : private juce::Timer
        {
        public:
            Watcher() { startTimer (watchIntervalMs); }
            ~Watcher() override { stopTimer(); }

            int driven = 0;

        private:
            void timerCallback() override
            {
                const auto now = juce::Time::getMillisecondCounter();
                std::map<juce::ComponentPeer*, std::unique_ptr<WatchedPeer>> current;
                driven = 0;

                for (int i = 0; i < juce::ComponentPeer::getNumPeers(); ++i)
                {
                    auto* peer = juce::ComponentPeer::getPeer (i);
                    auto found = peers.find (peer);

                    // A new window can take the address of one that went.
                    if (found != peers.end() && found->second->component != &peer->getComponent())
                        found->second->peer = nullptr;

                    auto watched = found != peers.end() && found->second->peer != nullptr
                                       ? std::move (found->second)
                                       : std::make_unique<WatchedPeer> (*peer);

                    if (! watched->vBlankSeen && now - watched->firstSeenMs >= (juce::uint32) graceMs
                        && peer->getComponent().isShowing())
                    {
                        ++driven;
                        peer->performAnyPendingRepaintsNow();

                        // Painting can run messages that delete windows.
                        if (! juce::ComponentPeer::isValidPeer (peer))
                            continue;
                    }

                    current[peer] = std::move (watched);
                }

                // Entries of peers that went are dropped here.
                peers = std::move (current);

                const auto interval = driven > 0 ? driveIntervalMs : watchIntervalMs;

                if (getTimerInterval() != interval)
                    startTimer (interval);
            }

            std::map<juce::ComponentPeer*, std::unique_ptr<WatchedPeer>> peers;
        };

        std::unique_ptr<Watcher>& watcher()
        {
            static std::unique_ptr<Watcher> instance;
            return instance;
        }
    }

    void start()
    {
        if (watcher() == nullptr)
            watcher() = std::make_unique<Watcher>();
    }

    void stop()
    {
        watcher().reset();
    }

    int drivenWindowCount()
    {
        return watcher() != nullptr ? watcher()->driven : 0;
    }

    bool isAvailable() { return true; }
}
