// The staff update button against the demo service: the newest internal
// build is handed to the process's update handler, and the panel stays open
// when there is nothing or nobody to update.

#include "ProductPageTesting.h"
#include "SettingsPageTesting.h"

#include "support/ComponentTesting.h"
#include "support/DemoServiceFixture.h"
#include "support/RecordingUpdateHandler.h"

#include <memory>

namespace
{
    using SettingsPageService = DemoServiceFixture;
}

TEST_F (SettingsPageService, UpdateButtonHandsTheNewestBuildToTheHandlerOrStaysOpen)
{
    enum class Service { answers, fails };
    struct Case { const char* what; bool handler; Service service; bool started; const char* logged; };
    const Case cases[] = {
        { "handler registered",  true,  Service::answers, true,  "url = " },
        { "no handler",          false, Service::answers, false, "updateVDSButton: no update handler, the update was not started" },
        { "request fails",       true,  Service::fails,   false, "getLatestInternalVDSInfo failed" },
    };

    FormatSettings settings = defaultFormatSettings();
    RecordingSettingsDelegate delegate;
    delegate.token = demoToken();

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        service.faults().clear();

        if (c.service == Service::fails)
            service.faults().forceServerError ("/api/vds/getLatestInternalVDS");

        std::unique_ptr<RecordingUpdateHandler> handler;
        if (c.handler)
            handler = std::make_unique<RecordingUpdateHandler>();

        juce::Component::SafePointer<SettingsPage> page (new SettingsPage (&delegate, &settings, true, false, {}));
        page->setSize (820, 600);
        const auto logStart = logSinceStart().length();

        clickNow (page->updateButton);
        const auto logged = logSinceStart().substring (logStart);

        EXPECT_TRUE (logged.contains ("updateVDSButton pressed"));
        EXPECT_TRUE (logged.contains (c.logged)) << logged;

        if (c.started)
        {
            ASSERT_EQ (handler->helperStarts.load(), 1);
            EXPECT_TRUE (handler->lastUrl.endsWith ("/files/app/app.zip")) << handler->lastUrl;
            EXPECT_EQ (handler->lastVersion, juce::String (service.appVersion()));
            EXPECT_EQ (handler->lastBuild, juce::String (service.appBuild()));
            EXPECT_TRUE (logged.contains ("version = " + juce::String (service.appVersion())));
            EXPECT_TRUE (pumpUntil ([&] { return page == nullptr; }, 2000)) << "a started update closes the panel";
        }
        else
        {
            if (handler != nullptr)
                EXPECT_EQ (handler->helperStarts.load(), 0);

            ASSERT_NE (page, nullptr);
            EXPECT_FALSE (page->isClosing());
            delete page.getComponent();
        }

        EXPECT_EQ (handler != nullptr ? handler->starts.load() : 0, 0) << "never a forced update";
    }
}
