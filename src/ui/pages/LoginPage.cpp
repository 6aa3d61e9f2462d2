#include "ui/pages/LoginPage.h"

#include "cloud/ServiceConfig.h"
#include "cloud/WebPages.h"
#include "ui/look/WebPageOpener.h"
#include "ui/look/AppFonts.h"
#include "ui/look/AppResources.h"
#include "cloud/CredentialChecks.h"

namespace
{
    const juce::Colour inkColour (0xff31414c);
    const juce::Colour paleColour (0xffd2e1ea);
    const juce::Colour errorColour (0xffe01010);
    const juce::Colour fieldTextColour (0xff7594b6);
    const juce::Colour placeholderColour (0xffc3c3c3);
    const juce::Colour linkColour (0xff628278);
    const juce::Colour linkPressedColour (0xffa0f0c0);
    const juce::Colour versionColour (0xcf31414c);

    void dropKeyboardFocus()
    {
        if (auto* focused = juce::Component::getCurrentlyFocusedComponent())
            focused->giveAwayKeyboardFocus();
    }
}

//==============================================================================
void LoginPage::CustomTextEditor::focusGained (FocusChangeType cause)
{
    juce::TextEditor::focusGained (cause);

    if (onFocusGained)
        onFocusGained();
}

void LoginPage::CustomTextEditor::focusLost (FocusChangeType cause)
{
    juce::TextEditor::focusLost (cause);
}

void LoginPage::TextEditorLookAndFeel::fillTextEditorBackground (juce::Graphics& g, int width, int height, juce::TextEditor&)
{
    g.setColour (paleColour);
    g.fillRoundedRectangle (0.0f, 0.0f, (float) width, (float) height, 4.0f);
}

void LoginPage::TextEditorLookAndFeel::drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor&)
{
    if (! hasError)
        return;

    g.setColour (errorColour);
    g.drawRoundedRectangle (1.0f, 1.0f, (float) width - 2.0f, (float) height - 2.0f, 4.0f, 2.0f);
}

//==============================================================================
LoginPage::LoginPage (const juce::String& initialEmail, bool useDeveloperAddress, const juce::String& developerAddress)
{
    setWantsKeyboardFocus (true);

    developerAddressField.setText (developerAddress, juce::dontSendNotification);
    addChildComponent (developerAddressField);
    developerAddressField.onReturnKey = [] { dropKeyboardFocus(); };
    developerAddressField.onTextChange = [] {};

    developerAddressSwitch.setButtonText ({});
    developerAddressSwitch.setColour (juce::ToggleButton::textColourId, inkColour);
    developerAddressSwitch.setColour (juce::ToggleButton::tickColourId, inkColour);
    developerAddressSwitch.setColour (juce::ToggleButton::tickDisabledColourId, inkColour);
    addChildComponent (developerAddressSwitch);
    developerAddressSwitch.setToggleState (useDeveloperAddress, juce::dontSendNotification);
    developerAddressSwitch.setClickingTogglesState (true);

    linkPressed = false;
    buildInfoText();

    setUpField (emailField, fieldLooks[0], 1);
    emailField.onReturnKey = [this] { passwordField.grabKeyboardFocus(); };
    emailField.onFocusGained = [this]
    {
        setFieldError (emailField, false);
        setFieldError (passwordField, false);
    };
    emailField.onTextChange = [this] { updateDeveloperOptions(); };
    emailField.setText (initialEmail, true);

    setUpField (passwordField, fieldLooks[1], 2);
    passwordField.setPasswordCharacter ((juce::juce_wchar) '*');
    passwordField.onReturnKey = [this] { signIn(); };
    passwordField.onTextChange = [this] { repaint(); };

    setUpButton (loginButton, inkColour, paleColour, [this] { signIn(); });
    setUpButton (forgotButton, paleColour, inkColour, [this] { openForgotPasswordPage(); });
    // The demo service serves the browser sign-in, so the button is offered.
    setUpButton (ssoButton, inkColour, paleColour, [this] { openBrowserSignInPage(); });

    updateDeveloperOptions();
}

LoginPage::~LoginPage()
{
    // The looks are members too and go before the fields; detach them first.
    emailField.setLookAndFeel (nullptr);
    passwordField.setLookAndFeel (nullptr);
}

void LoginPage::setUpButton (juce::TextButton& button, juce::Colour fill, juce::Colour text, std::function<void()> onClick)
{
    button.setColour (juce::TextButton::buttonColourId, fill);
    button.setColour (juce::TextButton::buttonOnColourId, fill);
    button.setColour (juce::ComboBox::outlineColourId, fill);
    button.setColour (juce::TextButton::textColourOffId, text);
    button.setColour (juce::TextButton::textColourOnId, text);
    button.setWantsKeyboardFocus (false);
    button.onClick = std::move (onClick);
    addAndMakeVisible (button);
}

void LoginPage::setUpField (CustomTextEditor& field, TextEditorLookAndFeel& look, int focusOrder)
{
    field.setJustification (juce::Justification::centredLeft);
    field.setMultiLine (false);
    field.setReturnKeyStartsNewLine (false);
    field.setTabKeyUsedAsCharacter (false);
    field.setTextToShowWhenEmpty ({}, placeholderColour);
    field.setIndents (6, 0);
    field.setFont (juce::Font (16.0f));
    field.setColour (juce::TextEditor::textColourId, fieldTextColour);
    field.setLookAndFeel (&look);
    field.setExplicitFocusOrder (focusOrder);
    addAndMakeVisible (field);
}

void LoginPage::buildInfoText()
{
    const juce::Font font (15.0f);

    infoText.clear();
    infoText.setLineSpacing (2.0f);
    infoText.setJustification (juce::Justification::topLeft);
    infoText.setWordWrap (juce::AttributedString::byWord);
    infoText.append ("Log in to your account to see your Vamrelund licenses. "
                     "If you have made purchases without an account, ",
                     font, inkColour);
    infoText.append ("create a free account", font, linkPressed ? linkPressedColour : linkColour);
}

//==============================================================================
bool LoginPage::isEmailValid() const
{
    return CredentialChecks::isEmailValid (emailField.getText());
}

bool LoginPage::isPasswordValid() const
{
    return CredentialChecks::isPasswordValid (passwordField.getText());
}

LoginPage::TextEditorLookAndFeel& LoginPage::lookFor (const CustomTextEditor& field)
{
    return &field == &emailField ? fieldLooks[0] : fieldLooks[1];
}

const LoginPage::TextEditorLookAndFeel& LoginPage::lookFor (const CustomTextEditor& field) const
{
    return &field == &emailField ? fieldLooks[0] : fieldLooks[1];
}

void LoginPage::setFieldError (CustomTextEditor& field, bool on)
{
    lookFor (field).hasError = on;
    field.repaint();
}

bool LoginPage::hasFieldError (const CustomTextEditor& field) const
{
    return lookFor (field).hasError;
}

void LoginPage::signIn()
{
    bool ok = true;

    if (! isEmailValid())
    {
        setFieldError (emailField, true);
        ok = false;
    }

    if (! isPasswordValid())
    {
        setFieldError (passwordField, true);
        ok = false;
    }

    if (ok && onLogin)
        onLogin (emailField.getText(), passwordField.getText(),
                 developerAddressSwitch.getToggleState(), developerAddressField.getText());
}

void LoginPage::updateDeveloperOptions()
{
    developerOptionsShown = CredentialChecks::isStaffAddress (emailField.getText());
    developerAddressField.setVisible (developerOptionsShown);
    developerAddressSwitch.setVisible (developerOptionsShown);
    resized();
    repaint();
}

void LoginPage::clearPassword()
{
    passwordField.clear();
}

void LoginPage::setDeveloperAddress (const juce::String& address, bool useIt)
{
    developerAddressField.setText (address, true);
    developerAddressSwitch.setToggleState (useIt, juce::dontSendNotification);
    updateDeveloperOptions();
}

//==============================================================================
juce::String LoginPage::webOrigin() const
{
    if (developerOptionsShown && developerAddressSwitch.getToggleState())
        return developerAddressField.getText();

    return ServiceConfig::productionOrigin();
}

void LoginPage::openForgotPasswordPage()
{
    openWebPage (WebPages::forgotPassword (webOrigin()));
}

void LoginPage::openBrowserSignInPage()
{
    openWebPage (WebPages::browserSignIn (webOrigin()));
}

void LoginPage::openSignUpPage()
{
    openWebPage (WebPages::signUp());
}

//==============================================================================
void LoginPage::mouseMove (const juce::MouseEvent& e)
{
    setMouseCursor (linkZone().contains (e.getPosition()) ? juce::MouseCursor::PointingHandCursor
                                                          : juce::MouseCursor::NormalCursor);
}

void LoginPage::mouseDown (const juce::MouseEvent& e)
{
    if (linkZone().contains (e.getPosition()))
    {
        linkPressed = true;
        buildInfoText();
        repaint();
    }

    // A click on empty space leaves the text fields.
    dropKeyboardFocus();
}

void LoginPage::mouseUp (const juce::MouseEvent&)
{
    if (! linkPressed)
        return;

    linkPressed = false;
    setMouseCursor (juce::MouseCursor::NormalCursor);
    buildInfoText();
    repaint();
    openSignUpPage();
}

void LoginPage::paint (juce::Graphics& g)
{
    const auto logo = AppResources::image ("logo_vamrel_dark@2x.png");

    if (logo.isValid())
        g.drawImage (logo, { 190.0f, 191.0f, 80.0f, 16.0f }, juce::RectanglePlacement::stretchToFit);

    g.setColour (inkColour);
    g.setFont (juce::Font (18.5f));
    g.drawText ("Helper", 189, 213, 250, 30, juce::Justification::topLeft, true);

    infoText.draw (g, { 484.0f, 285.0f, 225.0f, 160.0f });

    g.setColour (inkColour);
    g.setFont (juce::Font (14.0f));
    g.drawText ("E-mail address", 193, 254, 250, 20, juce::Justification::left, true);
    g.drawText ("Password", 193, 310, 250, 20, juce::Justification::left, true);

    if (developerOptionsShown)
        g.drawText ("Dev URL", 530, 477, 100, 20, juce::Justification::left, true);

    g.setColour (paleColour);
    g.fillRect (466, 271, 1, 90);

    g.setColour (versionColour);
    g.setFont (appFont (AppFontStyle::regular, 11.0f));
    g.drawText (juce::String ("Helper v. ") + VAMRHELPER_VERSION_STRING,
                getWidth() - 130, getHeight() - 20, 120, 12, juce::Justification::right, true);
}

bool LoginPage::keyPressed (const juce::KeyPress& key)
{
    if (key.getKeyCode() == juce::KeyPress::returnKey)
    {
        emailField.grabKeyboardFocus();
        return true;
    }

    return false;
}

void LoginPage::resized()
{
    VRPage::resized();

    emailField.setBounds (190, 272, 259, 32);
    passwordField.setBounds (190, 328, 259, 32);
    loginButton.setBounds (190, 375, 78, 33);
    forgotButton.setBounds (288, 379, 114, 25);
    ssoButton.setBounds (190, 423, 178, 33);

    if (developerOptionsShown)
    {
        developerAddressSwitch.setBounds (190, 474, 25, 25);
        developerAddressField.setBounds (225, 475, 297, 22);
    }
}

void LoginPage::pageShown()
{
    grabKeyboardFocus();
}
