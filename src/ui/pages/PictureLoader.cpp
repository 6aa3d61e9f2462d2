#include "ui/pages/PictureLoader.h"

#include "platform/HttpTransport.h"

namespace
{
    class PictureJob : public juce::ThreadPoolJob
    {
    public:
        PictureJob (std::shared_ptr<PictureLoader::Shared> s, juce::String icon, juce::String ui, PictureLoader::Completion done)
            : juce::ThreadPoolJob ("picture"), shared (std::move (s)),
              iconAddress (std::move (icon)), uiAddress (std::move (ui)), onLoaded (std::move (done))
        {
            shared->pendingLoads += 1;
        }

        ~PictureJob() override
        {
            // A job dropped before it ran still counts as finished.
            if (! finished)
                shared->pendingLoads -= 1;
        }

        JobStatus runJob() override
        {
            const auto busy = ++shared->busyThreads;
            auto most = shared->mostBusyThreads.load();
            while (busy > most && ! shared->mostBusyThreads.compare_exchange_weak (most, busy)) {}

            juce::Image icon, ui;

            if (iconAddress.isNotEmpty() && ! shouldExit())
                icon = PictureLoader::fetchPicture (*shared, iconAddress);

            if (uiAddress.isNotEmpty() && ! shouldExit())
                ui = PictureLoader::fetchPicture (*shared, uiAddress);

            --shared->busyThreads;
            finished = true;

            if (icon.isNull() && ui.isNull())
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
        std::shared_ptr<PictureLoader::Shared> shared;
        juce::String iconAddress, uiAddress;
        PictureLoader::Completion onLoaded;
        bool finished = false;
    };
}

PictureLoader::PictureLoader (int maximumThreads)
    : pool (maximumThreads)
{
}

PictureLoader::~PictureLoader()
{
    // Running downloads end now rather than at their time-out.
    shared->quitting.stop();
    pool.removeAllJobs (true, 15000);
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

juce::Image PictureLoader::fetchPicture (Shared& s, const juce::String& address)
{
    {
        const std::lock_guard<std::mutex> guard (s.cacheLock);
        const auto found = s.pictureCache.find (address);

        if (found != s.pictureCache.end() && found->second.isValid())
            return found->second;
    }

    s.downloads += 1;

    HttpTransport::Request request;
    request.address = address;
    request.connectTimeoutMs = 10000;
    request.readTimeoutMs = 10000;

    juce::MemoryBlock data;
    const auto result = HttpTransport::performIntoMemory (request, data, &s.quitting);

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
