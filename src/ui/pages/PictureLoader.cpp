#include "ui/pages/PictureLoader.h"

#include "platform/HttpTransport.h"
#include "platform/WorkInFlight.h"

namespace
{
    class PictureJob : public juce::ThreadPoolJob,
                       private juce::Thread::Listener
    {
    public:
        PictureJob (std::shared_ptr<PictureLoader::Shared> s, juce::String icon, juce::String ui, PictureLoader::Completion done)
            : juce::ThreadPoolJob ("picture"), shared (std::move (s)),
              iconAddress (std::move (icon)), uiAddress (std::move (ui)), onLoaded (std::move (done))
        {
            shared->pendingLoads += 1;
            addListener (this);
        }

        ~PictureJob() override
        {
            removeListener (this);

            // A job dropped before it ran still counts as finished.
            if (! finished)
                shared->pendingLoads -= 1;
        }

        JobStatus runJob() override
        {
            // Quitting stops this load with all other work; so does the pool
            // when the page goes (signalJobShouldExit, through exitSignalSent).
            WorkInFlight::Registration inFlight ("picture " + iconAddress, [this] { cancellation.cancel(); });

            const auto busy = ++shared->busyThreads;
            auto most = shared->mostBusyThreads.load();
            while (busy > most && ! shared->mostBusyThreads.compare_exchange_weak (most, busy)) {}

            const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) PictureLoader::loadDeadlineMs;
            juce::Image icon, ui;

            if (iconAddress.isNotEmpty() && ! isStopped())
                icon = PictureLoader::fetchPicture (*shared, iconAddress, &cancellation, deadline);

            if (uiAddress.isNotEmpty() && ! isStopped())
                ui = PictureLoader::fetchPicture (*shared, uiAddress, &cancellation, deadline);

            --shared->busyThreads;
            finished = true;

            if ((icon.isNull() && ui.isNull()) || isStopped())
            {
                shared->pendingLoads -= 1;
                return jobHasFinished;
            }

            // The images are shared by reference count; the callback decides
            // on the message thread whether anything still wants them.
            juce::MessageManager::callAsync ([s = shared, done = std::move (onLoaded), icon, ui]
            {
                if (done)
                    done (icon, ui);

                s->pendingLoads -= 1;
            });

            return jobHasFinished;
        }

    private:
        bool isStopped() const { return shouldExit() || cancellation.isCancelled(); }

        void exitSignalSent() override { cancellation.cancel(); }

        std::shared_ptr<PictureLoader::Shared> shared;
        juce::String iconAddress, uiAddress;
        PictureLoader::Completion onLoaded;
        RequestEngine::Cancellation cancellation;
        bool finished = false;
    };
}

PictureLoader::PictureLoader (int maximumThreads)
    : pool (maximumThreads)
{
}

PictureLoader::~PictureLoader()
{
    // Running loads are cancelled mid-transfer, so this waits for no network.
    pool.removeAllJobs (true, PictureLoader::loadDeadlineMs);
}

void PictureLoader::load (const juce::String& iconAddress, const juce::String& uiImageAddress, Completion onLoaded)
{
    pool.addJob (new PictureJob (shared, iconAddress, uiImageAddress, std::move (onLoaded)), true);
}

void PictureLoader::cancelQueued()
{
    // Running jobs finish; their results find no cell and are dropped.
    pool.removeAllJobs (false, 0);
}

juce::Image PictureLoader::fetchPicture (Shared& s, const juce::String& address,
                                         RequestEngine::Cancellation* cancellation, juce::uint32 deadlineMs)
{
    {
        const std::lock_guard<std::mutex> guard (s.cacheLock);
        const auto found = s.pictureCache.find (address);

        if (found != s.pictureCache.end() && found->second.isValid())
            return found->second;
    }

    s.downloads += 1;

    const auto timeLeft = [deadlineMs] { return (int) (deadlineMs - juce::Time::getMillisecondCounter()); };

    if (deadlineMs != 0 && timeLeft() <= 0)
        return {};

    HttpTransport::Request request;
    request.address = address;
    request.connectTimeoutMs = deadlineMs == 0 ? connectTimeoutMs : juce::jlimit (1, connectTimeoutMs, timeLeft());
    request.readTimeoutMs = request.connectTimeoutMs;

    // The deadline also ends a slow transfer that still trickles in.
    juce::MemoryBlock data;
    const auto result = HttpTransport::perform (request, [&data, deadlineMs, timeLeft] (const void* bytes, size_t size)
    {
        data.append (bytes, size);
        return deadlineMs == 0 || timeLeft() > 0;
    }, cancellation != nullptr ? &cancellation->stop() : nullptr);

    // A cut-off picture would decode into a partly grey image or not at all.
    if (! result.isComplete() || result.status != 200 || data.isEmpty())
        return {};

    auto image = juce::ImageFileFormat::loadFrom (data.getData(), data.getSize());

    if (image.isValid())
    {
        const std::lock_guard<std::mutex> guard (s.cacheLock);
        s.pictureCache[address] = image;
    }

    return image;
}
