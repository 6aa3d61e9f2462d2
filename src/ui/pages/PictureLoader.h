#pragma once

#include "cloud/RequestEngine.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

/** Fetches the products' pictures on a small pool of threads.

    The loader threads hold no component: what they fetch goes into the
    shared cache and is handed to a callback on the message thread, which
    reaches its cell through a SafePointer. So a refresh that deletes cells
    while loads run loses nothing but the pictures. The pool, not one thread
    per cell, bounds how many downloads run at once. */
class PictureLoader
{
public:
    /** What the page and the loads share; outlives the loader while a
        posted result is still on its way. */
    struct Shared
    {
        std::mutex cacheLock;
        std::map<juce::String, juce::Image> pictureCache;   // guarded by cacheLock
        std::atomic<int> pendingLoads { 0 };
        std::atomic<int> downloads { 0 };                   // addresses actually fetched
        std::atomic<int> busyThreads { 0 };
        std::atomic<int> mostBusyThreads { 0 };
    };

    /** Runs on the message thread with whatever could be fetched (null
        images for failures). */
    using Completion = std::function<void (juce::Image icon, juce::Image uiImage)>;

    explicit PictureLoader (int maximumThreads = 8);
    ~PictureLoader();

    /** Queues the load of one cell's two pictures. */
    void load (const juce::String& iconAddress, const juce::String& uiImageAddress, Completion onLoaded);

    /** Drops the loads that have not started (a new list replaces them). */
    void cancelQueued();

    /** A picture from the cache, or fetched and decoded; null on any failure,
        on cancel, or once the millisecond counter passes deadlineMs (0: none). */
    static juce::Image fetchPicture (Shared& shared, const juce::String& address,
                                     RequestEngine::Cancellation* cancellation = nullptr,
                                     juce::uint32 deadlineMs = 0);

    /** A load (both pictures of a cell) gives up after this long, so a
        stalled server never holds a pool thread or the page's destruction. */
    static constexpr int loadDeadlineMs = 20000;
    static constexpr int connectTimeoutMs = 10000;

    int pendingLoads() const { return shared->pendingLoads.load(); }

    const std::shared_ptr<Shared> shared = std::make_shared<Shared>();

private:
    juce::ThreadPool pool;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PictureLoader)
};
