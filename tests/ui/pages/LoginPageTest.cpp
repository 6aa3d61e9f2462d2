#include "cloud/ServiceConfig.h"
#include "platform/Browser.h"
#include "support/ComponentTesting.h"
#include "support/TestEnvironment.h"
#include "cloud/CredentialChecks.h"
#include "ui/pages/LoginPage.h"

#include <gtest/gtest.h>

namespace
{
    const juce::Colour pale (0xffd2e1ea);
    const juce::Colour red (0xffe01010);
    const juce::Colour background (0xfff1f3f5);

    struct Login
    {
        juce::String email, password, developerAddress;
        bool useDeveloperAddress = false;
        int calls = 0;
    };

    /** A login page as the main component lays it out, with the browser
        replaced by a list of opened addresses. */
    class LoginPageTest : public ::testing::Test
    {
    protected:
        LoginPageTest()
            : service (ServiceConfig::serviceVariable, "http://127.0.0.1:8123"),
              browser ([this] (const juce::String& address) { opened.add (address); return true; })
        {
        }

        std::unique_ptr<LoginPage> makePage (const juce::String& email, bool useDeveloper = false,
                                             const juce::String& developerAddress = "https://dev.example.org")
        {
            auto page = std::make_unique<LoginPage> (email, useDeveloper, developerAddress);
            page->setSize (820, 600);
            page->onLogin = [this] (const juce::String& e, const juce::String& p, bool use, const juce::String& address)
            {
                login.email = e;
                login.password = p;
                login.useDeveloperAddress = use;
                login.developerAddress = address;
                ++login.calls;
            };
            return page;
        }

        /** Types new text into a field the way a user's edit arrives. */
        static void type (juce::TextEditor& field, const juce::String& text)
        {
            field.setText (text, true);
            pumpUntil ([] { return false; }, 30);
        }

        ScopedEnvironmentVariable service;
        Browser::ScopedHandler browser;
        juce::StringArray opened;
        Login login;
    };
}

TEST (CredentialChecks, EmailAndPasswordRules)
{
    const struct { const char* email; bool valid; } emails[] = {
        { "a@b", false }, { ".@", true }, { "@.", true }, { "", false }, { "a.b", false },
        { "user@example.com", true }, { " @ .", true },
    };

    for (const auto& c : emails)
        EXPECT_EQ (CredentialChecks::isEmailValid (c.email), c.valid) << c.email;

    const struct { juce::String password; bool valid; } passwords[] = {
        { "", false }, { "abc", false }, { "abcd", true },
        // Characters, not bytes: three two-byte letters are still too short.
        { juce::CharPointer_UTF8 ("\xc3\xa4\xc3\xb6\xc3\xbc"), false },
        { juce::CharPointer_UTF8 ("\xc3\xa4\xc3\xb6\xc3\xbc\xc3\x9f"), true },
    };

    for (const auto& c : passwords)
        EXPECT_EQ (CredentialChecks::isPasswordValid (c.password), c.valid) << c.password;

    EXPECT_TRUE (CredentialChecks::isStaffAddress ("dev@VAMRELUND.COM"));
    EXPECT_FALSE (CredentialChecks::isStaffAddress ("dev@VAMRELUND.CO"));
    EXPECT_FALSE (CredentialChecks::isStaffAddress ("dev@notvamrelund.com"));
    EXPECT_TRUE (CredentialChecks::endsWithStaffDomain ("@vamrelund.com"));
}

TEST_F (LoginPageTest, LayoutOfTheForm)
{
    auto page = makePage ("user@example.com");

    EXPECT_TRUE (page->getWantsKeyboardFocus());
    EXPECT_EQ (page->emailField.getBounds(), juce::Rectangle<int> (190, 272, 259, 32));
    EXPECT_EQ (page->passwordField.getBounds(), juce::Rectangle<int> (190, 328, 259, 32));
    EXPECT_EQ (page->loginButton.getBounds(), juce::Rectangle<int> (190, 375, 78, 33));
    EXPECT_EQ (page->forgotButton.getBounds(), juce::Rectangle<int> (288, 379, 114, 25));
    EXPECT_EQ (page->ssoButton.getBounds(), juce::Rectangle<int> (190, 423, 178, 33));
    EXPECT_EQ (page->header.getBounds(), juce::Rectangle<int> (100, 0, 720, 54));

    // The browser sign-in is offered.
    EXPECT_EQ (page->ssoButton.getParentComponent(), page.get());
    EXPECT_TRUE (page->ssoButton.isVisible());
    EXPECT_EQ (page->ssoButton.getButtonText(), "Login with your Vamrelund account");

    EXPECT_EQ (page->emailField.getText(), "user@example.com");
    EXPECT_EQ (page->emailField.getExplicitFocusOrder(), 1);
    EXPECT_EQ (page->passwordField.getExplicitFocusOrder(), 2);
    EXPECT_EQ (page->passwordField.getPasswordCharacter(), (juce::juce_wchar) '*');
    EXPECT_FALSE (page->emailField.isMultiLine());
    EXPECT_FALSE (page->loginButton.getWantsKeyboardFocus());
    EXPECT_FALSE (page->forgotButton.getWantsKeyboardFocus());

    EXPECT_FALSE (page->developerOptionsShown);
    EXPECT_FALSE (page->developerAddressField.isVisible());
    EXPECT_FALSE (page->developerAddressSwitch.isVisible());
}

TEST_F (LoginPageTest, PaintsTheFormOverItsOwnersBackground)
{
    auto page = makePage ("user@example.com");
    const auto image = paintOnBackground (*page, background);

    // No background of its own.
    EXPECT_EQ (image.getPixelAt (20, 100).getARGB(), background.getARGB());
    EXPECT_EQ (image.getPixelAt (800, 300).getARGB(), background.getARGB());

    // The rule between form and text, the fields' plates, the dark button.
    EXPECT_EQ (image.getPixelAt (466, 300).getARGB(), pale.getARGB());
    EXPECT_EQ (image.getPixelAt (467, 300).getARGB(), background.getARGB());
    EXPECT_EQ (image.getPixelAt (440, 288).getARGB(), pale.getARGB());
    EXPECT_EQ (image.getPixelAt (191, 344).getARGB(), pale.getARGB());
    EXPECT_TRUE (coloursClose (image.getPixelAt (195, 380), juce::Colour (0xff31414c), 25));

    const auto dark = [] (juce::Colour c) { return c.getBrightness() < 0.5f; };

    // The dark word mark, "Helper" under it, the labels and the version.
    EXPECT_GT (countPixels (image, { 190, 191, 80, 16 }, dark), 40);
    EXPECT_GT (countPixels (image, { 189, 213, 70, 25 }, dark), 20);
    EXPECT_GT (countPixels (image, { 193, 254, 100, 18 }, dark), 20);
    EXPECT_GT (countPixels (image, { 820 - 130, 600 - 20, 120, 12 }, [] (juce::Colour c) { return c.getBrightness() < 0.8f; }), 10);
    EXPECT_EQ (countPixels (image, { 530, 477, 100, 20 }, dark), 0);
}

TEST_F (LoginPageTest, ChecksTurnOutlinesRedAndOnlyValidInputSignsIn)
{
    auto page = makePage ({});

    page->signIn();
    EXPECT_EQ (login.calls, 0);
    EXPECT_TRUE (page->hasFieldError (page->emailField));
    EXPECT_TRUE (page->hasFieldError (page->passwordField));

    auto image = paintOnBackground (*page, background);
    EXPECT_EQ (image.getPixelAt (191, 288).getARGB(), red.getARGB());
    EXPECT_EQ (image.getPixelAt (191, 344).getARGB(), red.getARGB());

    // Focusing the password field clears nothing; focusing the e-mail field clears both.
    page->passwordField.focusGained (juce::Component::focusChangedByMouseClick);
    EXPECT_TRUE (page->hasFieldError (page->emailField));
    EXPECT_TRUE (page->hasFieldError (page->passwordField));

    page->emailField.focusGained (juce::Component::focusChangedByMouseClick);
    EXPECT_FALSE (page->hasFieldError (page->emailField));
    EXPECT_FALSE (page->hasFieldError (page->passwordField));

    image = paintOnBackground (*page, background);
    EXPECT_EQ (image.getPixelAt (191, 288).getARGB(), pale.getARGB());
    EXPECT_EQ (image.getPixelAt (191, 344).getARGB(), pale.getARGB());

    // One field at a time.
    const struct { const char* email; const char* password; bool emailError, passwordError; } cases[] = {
        { "a@b", "secret", true, false },
        { "user@example.com", "abc", false, true },
        { ".@", "abcd", false, false },
    };

    for (const auto& c : cases)
    {
        page->emailField.focusGained (juce::Component::focusChangedByMouseClick);
        page->emailField.setText (c.email, false);
        page->passwordField.setText (c.password, false);
        const auto callsBefore = login.calls;

        page->signIn();
        EXPECT_EQ (page->hasFieldError (page->emailField), c.emailError) << c.email;
        EXPECT_EQ (page->hasFieldError (page->passwordField), c.passwordError) << c.password;
        EXPECT_EQ (login.calls - callsBefore, (c.emailError || c.passwordError) ? 0 : 1);
    }

    EXPECT_EQ (login.email, ".@");
    EXPECT_EQ (login.password, "abcd");
}

TEST_F (LoginPageTest, ReturnInTheFieldsAndTheLoginButtonSignIn)
{
    auto page = makePage ("user@example.com");
    page->passwordField.setText ("hunter22", false);

    page->passwordField.onReturnKey();
    EXPECT_EQ (login.calls, 1);

    page->loginButton.triggerClick();
    ASSERT_TRUE (pumpUntil ([&] { return login.calls == 2; }));
    EXPECT_EQ (login.email, "user@example.com");
    EXPECT_EQ (login.password, "hunter22");

    // Return that reaches the page is used; other keys are passed on.
    EXPECT_TRUE (page->keyPressed (juce::KeyPress (juce::KeyPress::returnKey)));
    EXPECT_FALSE (page->keyPressed (juce::KeyPress ('a')));
    EXPECT_FALSE (page->keyPressed (juce::KeyPress (juce::KeyPress::escapeKey)));

    page->clearPassword();
    EXPECT_TRUE (page->passwordField.isEmpty());
}

TEST_F (LoginPageTest, DeveloperOptionsFollowTheStaffAddress)
{
    auto page = makePage ("user@example.com");

    type (page->emailField, "someone@VAMRELUND.COM");
    EXPECT_TRUE (page->developerOptionsShown);
    EXPECT_TRUE (page->developerAddressField.isVisible());
    EXPECT_TRUE (page->developerAddressSwitch.isVisible());
    EXPECT_EQ (page->developerAddressSwitch.getBounds(), juce::Rectangle<int> (190, 474, 25, 25));
    EXPECT_EQ (page->developerAddressField.getBounds(), juce::Rectangle<int> (225, 475, 297, 22));
    EXPECT_EQ (page->developerAddressField.getText(), "https://dev.example.org");

    const auto dark = [] (juce::Colour c) { return c.getBrightness() < 0.5f; };
    EXPECT_GT (countPixels (paintOnBackground (*page, background), { 530, 477, 100, 20 }, dark), 20);

    // One character of the domain gone: hidden again at once.
    type (page->emailField, "someone@VAMRELUND.CO");
    EXPECT_FALSE (page->developerOptionsShown);
    EXPECT_FALSE (page->developerAddressField.isVisible());
    EXPECT_EQ (countPixels (paintOnBackground (*page, background), { 530, 477, 100, 20 }, dark), 0);

    // A staff address given at construction shows them straight away.
    auto staffPage = makePage ("Dev@Vamrelund.com", true);
    EXPECT_TRUE (staffPage->developerOptionsShown);
    EXPECT_TRUE (staffPage->developerAddressSwitch.getToggleState());
}

TEST_F (LoginPageTest, WebPagesUseTheDeveloperAddressOnlyWhileItShowsAndIsOn)
{
    auto page = makePage ("user@example.com", true, "https://dev.example.org");

    // Switch on, but an ordinary address: the normal pages, yet onLogin gets the switch.
    page->forgotButton.triggerClick();
    page->ssoButton.triggerClick();
    ASSERT_TRUE (pumpUntil ([&] { return opened.size() == 2; }));
    EXPECT_EQ (opened[0], "http://127.0.0.1:8123/forgot-password");
    EXPECT_EQ (opened[1], "http://127.0.0.1:8123/sso");

    page->passwordField.setText ("abcd", false);
    page->signIn();
    EXPECT_TRUE (login.useDeveloperAddress);
    EXPECT_EQ (login.developerAddress, "https://dev.example.org");

    // A staff address with the switch on: the developer origin.
    type (page->emailField, "me@vamrelund.com");
    page->forgotButton.triggerClick();
    page->ssoButton.triggerClick();
    ASSERT_TRUE (pumpUntil ([&] { return opened.size() == 4; }));
    EXPECT_EQ (opened[2], "https://dev.example.org/forgot-password");
    EXPECT_EQ (opened[3], "https://dev.example.org/sso");

    // Switched off from the settings: the normal pages again.
    page->setDeveloperAddress ("https://other.example.org", false);
    EXPECT_EQ (page->developerAddressField.getText(), "https://other.example.org");
    EXPECT_FALSE (page->developerAddressSwitch.getToggleState());
    EXPECT_TRUE (page->developerOptionsShown);
    page->openForgotPasswordPage();
    EXPECT_EQ (opened[4], "http://127.0.0.1:8123/forgot-password");

    // An address that is not a web address is never handed on.
    page->setDeveloperAddress ("file:///etc", true);
    page->openForgotPasswordPage();
    EXPECT_EQ (opened.size(), 5);
}

TEST_F (LoginPageTest, LinkZoneArmsOnPressAndOpensTheSignUpPageOnRelease)
{
    auto page = makePage ("user@example.com");
    const auto linkColour = [&page] { return page->infoText.getAttribute (1).colour.getARGB(); };

    EXPECT_EQ (page->infoText.getNumAttributes(), 2);
    EXPECT_EQ (page->infoText.getText(),
               "Log in to your account to see your Vamrelund licenses. If you have made purchases without an account, create a free account");
    EXPECT_EQ (linkColour(), 0xff628278u);

    const struct { int x, y; bool arms; } presses[] = {
        { 535, 340, false }, { 536, 334, true }, { 680, 354, true },
        { 681, 340, false }, { 600, 333, false }, { 600, 355, false },
    };

    for (const auto& press : presses)
    {
        opened.clear();
        page->mouseDown (mouseEventAt (*page, { press.x, press.y }));
        EXPECT_EQ (page->linkPressed, press.arms) << press.x << "," << press.y;
        EXPECT_EQ (linkColour(), press.arms ? 0xffa0f0c0u : 0xff628278u);

        // Released anywhere: it opens the sign-up page if it was armed.
        page->mouseUp (mouseEventAt (*page, { 10, 10 }));
        EXPECT_FALSE (page->linkPressed);
        EXPECT_EQ (linkColour(), 0xff628278u);
        EXPECT_EQ (opened.size(), press.arms ? 1 : 0);

        if (press.arms)
        {
            EXPECT_EQ (opened[0], "http://127.0.0.1:8123/sign-up");
        }
    }

    page->mouseMove (mouseEventAt (*page, { 536, 334 }));
    EXPECT_EQ (page->getMouseCursor(), juce::MouseCursor (juce::MouseCursor::PointingHandCursor));
    page->mouseMove (mouseEventAt (*page, { 535, 334 }));
    EXPECT_EQ (page->getMouseCursor(), juce::MouseCursor (juce::MouseCursor::NormalCursor));
}
