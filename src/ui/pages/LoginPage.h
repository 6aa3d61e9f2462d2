#pragma once

#include "ui/pages/VRPage.h"

#include <array>
#include <functional>

/** The page shown while nobody is signed in.

    It takes an e-mail address and a password, checks both locally (a failing
    field gets a red outline until the e-mail field next gains the focus) and
    hands them to onLogin. It opens the service's web pages for a forgotten
    password, the browser sign-in and a new account. For an address of the
    maker's staff domain it also shows a switch and a field for a developer
    service address.

    The page paints no background: its owner's shows through. */
class LoginPage : public VRPage
{
public:
    /** A text field that also reports when it gains the keyboard focus. */
    class CustomTextEditor : public juce::TextEditor
    {
    public:
        void focusGained (FocusChangeType) override;
        void focusLost (FocusChangeType) override;

        std::function<void()> onFocusGained;
    };

    /** The fields' light plate, with a red outline while hasError is set. */
    class TextEditorLookAndFeel : public juce::LookAndFeel_V4
    {
    public:
        void fillTextEditorBackground (juce::Graphics&, int width, int height, juce::TextEditor&) override;
        void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;

        bool hasError = false;
    };

    LoginPage (const juce::String& initialEmail, bool useDeveloperAddress, const juce::String& developerAddress);
    ~LoginPage() override;

    /** Where the words "create a free account" fall. */
    static juce::Rectangle<int> linkZone() { return { 536, 334, 145, 21 }; }

    /** Checks both fields (both always, so both outlines can turn red) and,
        when both pass, calls onLogin. */
    void signIn();

    bool isEmailValid() const;
    bool isPasswordValid() const;

    void setFieldError (CustomTextEditor& field, bool on);
    bool hasFieldError (const CustomTextEditor& field) const;

    /** Shows the developer controls for a staff address, hides them
        otherwise, and lays the page out again. */
    void updateDeveloperOptions();

    void clearPassword();

    /** Takes a developer address and switch state chosen elsewhere. */
    void setDeveloperAddress (const juce::String& address, bool useIt);

    /** The origin of the forgot-password and browser sign-in pages: the
        developer address while its controls show and the switch is on. */
    juce::String webOrigin() const;

    void openForgotPasswordPage();
    void openBrowserSignInPage();
    void openSignUpPage();

    void mouseMove (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    bool keyPressed (const juce::KeyPress&) override;
    void resized() override;
    void pageShown() override;

    juce::AttributedString infoText;
    bool linkPressed = false;
    CustomTextEditor emailField, passwordField;
    juce::TextButton loginButton { "Log in" };
    juce::TextButton forgotButton { "Forgot password" };
    juce::TextButton ssoButton { "Login with your Vamrelund account" };
    std::array<TextEditorLookAndFeel, 2> fieldLooks;
    bool developerOptionsShown = false;
    juce::TextEditor developerAddressField;
    juce::ToggleButton developerAddressSwitch;

    std::function<void (const juce::String& email, const juce::String& password,
                        bool useDeveloperAddress, const juce::String& developerAddress)> onLogin;

private:
    void buildInfoText();
    void setUpField (CustomTextEditor& field, TextEditorLookAndFeel& look, int focusOrder);

    /** A flat button in one fill and one text colour; clicks leave the focus where it is. */
    void setUpButton (juce::TextButton& button, juce::Colour fill, juce::Colour text, std::function<void()> onClick);
    TextEditorLookAndFeel& lookFor (const CustomTextEditor& field);
    const TextEditorLookAndFeel& lookFor (const CustomTextEditor& field) const;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (LoginPage)
};
