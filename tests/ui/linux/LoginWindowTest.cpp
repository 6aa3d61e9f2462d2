#include "cloud/ServiceConfig.h"
#include "platform/Browser.h"
#include "support/TestEnvironment.h"
#include "ui/pages/LoginPage.h"

#include <gtest/gtest.h>

namespace
{
    /** What the main component puts behind the login page. */
    struct LoginContent : juce::Component
    {
        LoginContent()
        {
            page.header.setVisible (false);
            addAndMakeVisible (page);
            setSize (820, 600);
        }

        void paint (juce::Graphics& g) override { g.fillAll (juce::Colour (0xfff1f3f5)); }
        void resized() override                 { page.setBounds (getLocalBounds()); }

        LoginPage page { "you@example.com", false, ServiceConfig::defaultTestServer() };
    };

    bool press (juce::Component& window, const juce::KeyPress& key)
    {
        auto* peer = window.getPeer();
        return peer != nullptr && peer->handleKeyPress (key);
    }

    void typeText (juce::Component& window, const juce::String& text)
    {
        for (auto c : text)
            press (window, juce::KeyPress ((int) c, {}, c));
    }

    /** With VAMRHELPER_SCREENSHOT_DIR set, grabs the window from the X
        server's screen (tests/screenshot-login does this). */
    void screenshot (juce::Component& window, const juce::String& name)
    {
        const auto folder = juce::SystemStats::getEnvironmentVariable ("VAMRHELPER_SCREENSHOT_DIR", {});

        if (folder.isEmpty())
            return;

        // Let every pending repaint reach the screen first.
        pumpUntil ([] { return false; }, 500);

        const auto area = window.getScreenBounds();
        const auto target = juce::File (folder).getChildFile (name);
        juce::ChildProcess grab;
        ASSERT_TRUE (grab.start (juce::StringArray { "import", "-window", "root", "-crop",
                                                     juce::String (area.getWidth()) + "x" + juce::String (area.getHeight())
                                                         + "+" + juce::String (area.getX()) + "+" + juce::String (area.getY()),
                                                     "+repage", target.getFullPathName() }));
        ASSERT_TRUE (grab.waitForProcessToFinish (20000));
        EXPECT_EQ (grab.getExitCode(), 0u);
        EXPECT_TRUE (target.existsAsFile());
    }
}

TEST (LoginWindow, TakesTheFocusWhenShownAndTheKeysWalkTheForm)
{
    if (! displayAvailable())
        GTEST_SKIP() << "no display";

    juce::StringArray opened;
    Browser::ScopedHandler browser ([&opened] (const juce::String& a) { opened.add (a); return true; });

    LoginContent content;
    auto& page = content.page;
    int logins = 0;
    juce::String password;
    page.onLogin = [&] (const juce::String&, const juce::String& p, bool, const juce::String&) { ++logins; password = p; };

    juce::DocumentWindow window ("Vamrelund Helper", juce::Colour (0xfff1f3f5), juce::DocumentWindow::closeButton);
    window.setUsingNativeTitleBar (false);
    window.setContentNonOwned (&content, true);
    window.centreWithSize (window.getWidth(), window.getHeight());
    window.setVisible (true);

    // As the main component does: wait until the page is really showing.
    bool shown = false;
    auto* visibility = new VRPage::VisibilityTimer ({});
    visibility->callback = [&page, &shown, visibility]
    {
        if (! page.isShowing())
            return;

        visibility->stopTimer();
        page.pageShown();
        shown = true;
        delete visibility;
    };
    visibility->startTimer (100);

    ASSERT_TRUE (pumpUntil ([&] { return shown; }));
    ASSERT_TRUE (pumpUntil ([&] { page.pageShown(); return page.hasKeyboardFocus (false); }));

    // A failed check, then Return on the page: into the e-mail field, outlines cleared.
    page.signIn();
    EXPECT_TRUE (page.hasFieldError (page.passwordField));
    EXPECT_TRUE (press (window, juce::KeyPress (juce::KeyPress::returnKey)));
    ASSERT_TRUE (pumpUntil ([&] { return page.emailField.hasKeyboardFocus (false); }));
    EXPECT_FALSE (page.hasFieldError (page.passwordField));

    // Tab moves on to the password; typing and Return sign in.
    press (window, juce::KeyPress (juce::KeyPress::tabKey));
    ASSERT_TRUE (pumpUntil ([&] { return page.passwordField.hasKeyboardFocus (false); }));
    typeText (window, "abcd");
    EXPECT_EQ (page.passwordField.getText(), "abcd");
    press (window, juce::KeyPress (juce::KeyPress::returnKey));
    ASSERT_TRUE (pumpUntil ([&] { return logins == 1; }));
    EXPECT_EQ (password, "abcd");

    screenshot (window, "login.png");

    // Return in the e-mail field moves to the password field.
    page.emailField.grabKeyboardFocus();
    ASSERT_TRUE (pumpUntil ([&] { return page.emailField.hasKeyboardFocus (false); }));
    press (window, juce::KeyPress (juce::KeyPress::returnKey));
    ASSERT_TRUE (pumpUntil ([&] { return page.passwordField.hasKeyboardFocus (false); }));

    // A staff address with a short password: the developer row and a red outline.
    page.emailField.setText ("anna@VAMRELUND.COM", true);
    page.passwordField.setText ("abc", false);
    ASSERT_TRUE (pumpUntil ([&] { return page.developerOptionsShown; }));
    page.signIn();
    EXPECT_EQ (logins, 1);
    screenshot (window, "login-staff.png");

    EXPECT_TRUE (opened.isEmpty());
}
