#include "app/log/DiagnosticLog.h"
#include "platform/Browser.h"

#include <gtest/gtest.h>

TEST (Browser, OnlyAbsoluteWebAddressesAreOpened)
{
    const struct { const char* address; bool web; } cases[] = {
        { "https://www.vamrelund.com/sign-up", true },
        { "HTTP://127.0.0.1:8123/sso", true },
        { "https://dev.example.org/a?b=c&d=$e#f", true },
        { "https://", false },
        { "https:///path", false },
        { "file:///etc/passwd", false },
        { "javascript:alert(1)", false },
        { "/usr/bin/xterm", false },
        { "www.vamrelund.com/sign-up", false },
        { "https://host/a b", false },
        { "https://host/\"; rm -rf ~; \"", false },
        { "https://host/`id`", false },
        { "https://host/\nnext", false },
        { "", false },
    };

    for (const auto& c : cases)
        EXPECT_EQ (Browser::isWebAddress (c.address), c.web) << c.address;
}

TEST (Browser, HandlerReceivesWebAddressesAndRefusalsAreLogged)
{
    juce::StringArray opened;

    {
        Browser::ScopedHandler handler ([&opened] (const juce::String& address) { opened.add (address); return true; });

        EXPECT_TRUE (Browser::openURL ("https://www.vamrelund.com/terms"));
        EXPECT_FALSE (Browser::openURL ("file:///etc/passwd"));

        // A nested handler wins while it lives, then the outer one is back.
        {
            Browser::ScopedHandler failing ([] (const juce::String&) { return false; });
            EXPECT_FALSE (Browser::openURL ("https://www.vamrelund.com/sso"));
        }

        EXPECT_TRUE (Browser::openURL ("https://www.vamrelund.com/sign-up"));
    }

    EXPECT_EQ (opened, juce::StringArray ({ "https://www.vamrelund.com/terms", "https://www.vamrelund.com/sign-up" }));

    juce::MemoryBlock log;
    generalLogWriter().getFile().loadFileAsData (log);
    EXPECT_TRUE (log.toString().contains ("Browser refused address <file:///etc/passwd>"));
}
