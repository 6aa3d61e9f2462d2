#include "cloud/VamretRequest.h"

#include "log/DiagnosticLog.h"

#include <cstdio>
#include <mutex>
#include <set>

namespace
{
    /** Every request whose object still exists. At shutdown, before the
        message manager goes, the ones left are cancelled and deleted, so no
        request thread outlives the application. */
    class LiveRequests : private juce::DeletedAtShutdown
    {
    public:
        static LiveRequests& get()
        {
            static std::mutex creation;
            const std::lock_guard<std::mutex> guard (creation);

            if (instance == nullptr)
                instance = new LiveRequests();

            return *instance;
        }

        static void add (VamretRequest* r)
        {
            auto& self = get();
            const std::lock_guard<std::mutex> guard (self.lock);
            self.requests.insert (r);
        }

        static void remove (VamretRequest* r)
        {
            if (instance == nullptr)
                return;

            const std::lock_guard<std::mutex> guard (instance->lock);
            instance->requests.erase (r);
        }

        ~LiveRequests() override
        {
            std::set<VamretRequest*> left;

            {
                const std::lock_guard<std::mutex> guard (lock);
                left.swap (requests);
            }

            for (auto* r : left)
            {
                if (! r->cancelAndStop())
                {
                    writeLog ("extralog, a VamretRequest thread did not stop and was killed");
                    std::fprintf (stderr, "VamretRequest: a request thread did not stop at shutdown and was killed\n");
                }
            }

            // Each is deleted outside the lock: its destructor calls remove().
            for (auto* r : left)
                delete r;

            instance = nullptr;
        }

    private:
        LiveRequests() = default;

        static inline LiveRequests* instance = nullptr;
        std::mutex lock;
        std::set<VamretRequest*> requests;
    };
}

VamretRequest::VamretRequest()
    : juce::Thread ("VamretRequest")
{
    LiveRequests::add (this);
}

VamretRequest::~VamretRequest()
{
    LiveRequests::remove (this);
    cancelAndStop();
    cancelPendingUpdate();
}

bool VamretRequest::cancelAndStop()
{
    signalThreadShouldExit();
    cancellation.cancel();
    return stopThread (2000);
}

void VamretRequest::start (const juce::URL& newUrl, RequestEngine::Method newMethod,
                           RequestEngine::BodyKind newBodyKind, const juce::String& newToken)
{
    url = newUrl;
    method = newMethod;
    bodyKind = newBodyKind;
    token = newToken;
    timeoutMs = RequestEngine::timeoutMs;

    if (! isThreadRunning())
    {
        inFlight = std::make_unique<WorkInFlight::Registration> ("request " + url.toString (false), [this]
        {
            signalThreadShouldExit();
            cancellation.cancel();
        });
        startThread();
    }
}

void VamretRequest::run()
{
    response = performRequest (url, method, bodyKind, timeoutMs, token, &cancellation);
    lockAndTrigger();

    // The destructor joins this thread before the registration goes.
    inFlight->finished();
}

void VamretRequest::lockAndTrigger()
{
    // Gives up when the thread is told to stop, which happens only at shutdown.
    const juce::MessageManagerLock lock (this);

    if (lock.lockWasGained())
        triggerAsyncUpdate();
}

void VamretRequest::handleAsyncUpdate()
{
    waitForThreadToExit (10);

    // The callback usually deletes this object, so it runs from a local copy.
    if (auto deliver = std::move (callback))
        deliver (response);
}

void sendAsync (const juce::URL& url, const juce::String& token, std::function<void (VamretResponse)> done)
{
    auto* request = new VamretRequest();
    request->callback = [request, done = std::move (done)] (VamretResponse answer)
    {
        if (done)
            done (std::move (answer));

        delete request;
    };
    request->start (url, RequestEngine::Method::post, RequestEngine::BodyKind::json, token);
}
