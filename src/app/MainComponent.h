#pragma once

#include "ui/pages/CellDelegate.h"
#include "ui/pages/SettingsPageDelegate.h"
#include "cloud/CloudAccount.h"
#include "cloud/CloudError.h"
#include "cloud/Product.h"
#include "localstate/FormatSettings.h"
#include "ui/look/Toast.h"
#include "ui/pages/VRPage.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

class LoginPage;
class ProductsPage;
class SettingsPage;

/** The content of the main window and the object that ties the application
    together: it owns the settings store, the signed-in account, the format
    settings and both pages, decides which page shows, runs the sign-in and
    sign-out and the product-list refresh, and watches for a token the service
    has stopped accepting. Message thread only. */
class MainComponent : public juce::Component,
                      public CellDelegate,
                      public juce::Timer,
                      public SettingsPageDelegate
{
public:
    static constexpr juce::uint32 backgroundColour = 0xFFF1F3F5;
    static constexpr int defaultWidth = 820;
    static constexpr int defaultHeight = 600;
    static constexpr int tokenPollMs = 2000;
    static constexpr int loginPageIndex = 0, productsPageIndex = 1;

    MainComponent();
    ~MainComponent() override;

    /** Runs the start. Token, version and build are empty at a normal start
        and carry the hand-over values after a self-update. Fails only when the
        data folder cannot be created; the result then says which and why.
        With a stored token it checks the token with the service first, which
        blocks for up to ten seconds. */
    juce::Result initialize (const juce::String& token, const juce::String& version, const juce::String& build);

    /** Signs in with the address and code of a browser sign-in link. */
    void openWithEmailAndCode (const juce::String& email, const juce::String& code);

    void showPage (int index);
    void showProducts();

    /** Starts a list refresh, unless one is already under way. */
    void refreshProducts();

    /** Lays the settings panel over the window, unless it is already open. */
    void openSettings();

    /** The login page's sign-in: applies the staff server choice, then the
        terms, then signs in. */
    void loginPressed (const juce::String& email, const juce::String& password,
                       bool useTestUrl, const juce::String& testUrl);

    void signIn (const juce::String& email, const juce::String& password, const juce::String& code);
    void onSignInResult (VRCloud::Error error, const juce::String& token, const juce::String& email);

    // SettingsPageDelegate and CellDelegate
    void logoutPressed() override;
    juce::String getToken() override;
    void wipePressed (const std::vector<ProductRow>& products) override;
    void refreshPressed() override;
    std::vector<ProductRow> getProducts() override;
    void settingsFinished (bool changed, bool useTestUrl, const juce::String& testUrl) override;
    juce::String getEmail() override;
    FormatSettings getFormatSettings() override;
    void setLocalBuild (const juce::String& name, const juce::String& appName, const juce::String& build) override;
    void startChildProcesses (const juce::String& version, const juce::String& build) override;
    void sendToken (const juce::String& token) override;

    /** Watches for a token the service rejected; the login page then returns. */
    void timerCallback() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    juce::PropertiesFile* getSettings() const noexcept { return settings.get(); }
    const CloudAccount& getAccount() const noexcept { return account; }
    LoginPage* getLoginPage() const noexcept;
    ProductsPage* getProductsPage() const noexcept;

    /** The open settings panel, or nullptr. */
    SettingsPage* getSettingsPage() const noexcept;

    /** The page that is currently a child of this component, or -1. */
    int shownPageIndex() const;

    bool isRefreshing() const noexcept { return refreshing; }

    /** The terms dialog while it is waiting for an answer. */
    Toast* getTermsToast() const noexcept { return termsToast.getComponent(); }

private:
    void createPages();

    /** Shows the terms dialog unless they were accepted before; the
        continuation runs once they are (at once if they already were). */
    void afterTermsAccepted (std::function<void()> continuation);

    void listArrived (std::vector<VRCloud::Product> products);
    void clearStoredToken();
    void saveSettings();

    FormatSettings formatSettings;
    CloudAccount account;
    std::unique_ptr<juce::PropertiesFile> settings;
    std::array<std::unique_ptr<VRPage>, 2> pages;
    std::array<std::unique_ptr<VRPage::VisibilityTimer>, 2> visibilityTimers;
    juce::Component::SafePointer<Toast> termsToast;
    juce::Component::SafePointer<SettingsPage> settingsPage;   // deletes itself when it closes
    std::function<void()> afterTerms;
    bool refreshing = false;
    bool firstFramePainted = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainComponent)
};
