// While the start checks a stored token with a slow service, the main window
// must not be on screen: it could only show an empty, frozen rectangle.

#include "app/MainComponent.h"
#include "app/VamretApplication.h"
#include "cloud/ServiceConfig.h"
#include "app/settings/SettingsKeys.h"
#include "app/settings/SettingsStore.h"
#include "support/DemoServiceFixture.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace
{
    /** The X map state of a window, as xwininfo reports it ("IsViewable", "IsUnMapped", ...). */
    juce::String mapStateOf (juce::uint64 windowId)
    {
        juce::ChildProcess xwininfo;

        if (! xwininfo.start (juce::StringArray { "xwininfo", "-id", juce::String (windowId) }))
            return {};

        const auto output = xwininfo.readAllProcessOutput();
        return output.fromFirstOccurrenceOf ("Map State:", false, false).upToFirstOccurrenceOf ("\n", false, false).trim();
    }
}

class WindowDuringTokenCheck : public DemoServiceFixture {};

TEST_F (WindowDuringTokenCheck, StaysUnmappedUntilThePageIsChosen)
{
    if (! displayAvailable())
        GTEST_SKIP() << "no display";

    ScopedEnvironmentVariable production (ServiceConfig::serviceVariable, juce::String (service.origin()));
    {
        FormatSettings formats;
        auto store = createPropertiesFile (formats);
        store->setValue (SettingsKeys::token, demoToken());
        store->saveIfNeeded();
    }

    service.faults().setLatency (std::chrono::milliseconds (2500), "/api/vds/resources");

    // The message thread is blocked in the window's constructor for the
    // whole check, so the desktop's window list holds still meanwhile.
    std::atomic<bool> looked { false };
    juce::StringArray statesSeen;
    std::thread watcher ([&]
    {
        std::this_thread::sleep_for (std::chrono::milliseconds (1200));
        auto& desktop = juce::Desktop::getInstance();

        for (int i = 0; i < desktop.getNumComponents(); ++i)
            if (auto* peer = desktop.getComponent (i)->getPeer())
                statesSeen.add (mapStateOf ((juce::uint64) (juce::pointer_sized_uint) peer->getNativeHandle()));

        looked = true;
    });

    VamretApplication::MainWindow window ("Vamrelund Helper", {}, {}, {}, {});
    auto* component = window.getMainComponent();
    watcher.join();

    ASSERT_TRUE (looked.load());
    EXPECT_FALSE (statesSeen.isEmpty()) << "the window should exist, hidden, during the check";
    EXPECT_FALSE (statesSeen.contains ("IsViewable")) << statesSeen.joinIntoString (", ");

    ASSERT_NE (component, nullptr);
    EXPECT_EQ (component->shownPageIndex(), MainComponent::productsPageIndex);
    EXPECT_TRUE (pumpUntil ([&] { return mapStateOf ((juce::uint64) (juce::pointer_sized_uint) window.getWindowHandle()) == "IsViewable"; }));
}
