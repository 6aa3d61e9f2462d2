#include "app/MainComponent.h"

#include "log/DiagnosticLog.h"
#include "app/settings/SettingsKeys.h"
#include "app/settings/SettingsStore.h"
#include "cloud/CredentialChecks.h"
#include "cloud/ProductList.h"
#include "cloud/ProductsRequest.h"
#include "cloud/RequestEngine.h"
#include "cloud/SignIn.h"
#include "install/Uninstall.h"
#include "localstate/PluginSettings.h"
#include "localstate/RowRules.h"
#include "platform/Locations.h"
#include "ui/look/Toast.h"
#include "ui/pages/LoginPage.h"
#include "ui/pages/ProductsPage.h"
#include "ui/pages/SettingsPage.h"

MainComponent::MainComponent()
{
    generalLogWriter().ensureCreated();
}

// Pages first, then the store (which saves as it goes); the account and the
// format settings are plain values.
MainComponent::~MainComponent()
{
    stopTimer();
    delete settingsPage.getComponent();
    visibilityTimers = {};
    pages = {};
    settings.reset();
}

juce::Result MainComponent::initialize (const juce::String& token, const juce::String& version, const juce::String& build)
{
    writeLog ("MainComponent::initialize");

    auto dataFolder = ensureDataFolder();

    if (dataFolder.failed())
    {
        writeLog ("MainComponent::initialize failed <" + dataFolder.getErrorMessage() + ">");
        setSize (defaultWidth, defaultHeight);
        return dataFolder;
    }

    settings.reset();
    settings = createPropertiesFile (formatSettings);

    createPages();

    if (token.isNotEmpty())
        settings->setValue (SettingsKeys::token, token);

    account.token = Settings::getToken (*settings);
    account.email = Settings::getEmail (*settings);

    if (VRCloud::validateToken (account))
    {
        showProducts();
        startTimer (tokenPollMs);
    }
    else
    {
        showPage (loginPageIndex);
    }

    setSize (defaultWidth, defaultHeight);

    if (version.isNotEmpty() && build.isNotEmpty())
        juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::WarningIcon, "VDS updated",
                                                "Version = " + version + " || " + "Build = " + build,
                                                "OK", this);

    return juce::Result::ok();
}

void MainComponent::createPages()
{
    updateApiBase (*settings);

    auto login = std::make_unique<LoginPage> (Settings::getEmail (*settings),
                                              Settings::getUseTestUrl (*settings),
                                              Settings::getTestUrl (*settings));
    login->onLogin = [this] (const juce::String& email, const juce::String& password,
                             bool useTestUrl, const juce::String& testUrl)
    {
        loginPressed (email, password, useTestUrl, testUrl);
    };

    auto products = std::make_unique<ProductsPage> (this);
    products->header.onSettings = [this] (juce::Component*) { openSettings(); };

    pages[loginPageIndex] = std::move (login);
    pages[productsPageIndex] = std::move (products);

    for (auto& page : pages)
        page->setBounds (getLocalBounds());
}

LoginPage* MainComponent::getLoginPage() const noexcept
{
    return static_cast<LoginPage*> (pages[loginPageIndex].get());
}

ProductsPage* MainComponent::getProductsPage() const noexcept
{
    return static_cast<ProductsPage*> (pages[productsPageIndex].get());
}

SettingsPage* MainComponent::getSettingsPage() const noexcept
{
    return settingsPage.getComponent();
}

int MainComponent::shownPageIndex() const
{
    for (int i = 0; i < (int) pages.size(); ++i)
        if (pages[(size_t) i] != nullptr && pages[(size_t) i]->getParentComponent() == this)
            return i;

    return -1;
}

//==============================================================================
void MainComponent::showPage (int index)
{
    if (index != loginPageIndex && index != productsPageIndex)
        return;

    if (auto* login = getLoginPage())
        login->header.setVisible (false);

    auto& other = pages[(size_t) (1 - index)];

    if (other != nullptr && other->getParentComponent() == this)
        removeChildComponent (other.get());

    auto* page = pages[(size_t) index].get();

    if (page == nullptr || page->getParentComponent() != nullptr)
        return;

    page->setVisible (true);
    addAndMakeVisible (page);
    page->toFront (false);

    // pageShown runs once the page is really on screen, which for the first
    // page is only after the window has been made visible.
    juce::Component::SafePointer<VRPage> target (page);
    auto& slot = visibilityTimers[(size_t) index];
    slot = std::make_unique<VRPage::VisibilityTimer> ([this, target, index]
    {
        auto* shown = target.getComponent();

        if (shown == nullptr || shown->isShowing())
        {
            visibilityTimers[(size_t) index]->stopTimer();

            if (shown != nullptr)
                shown->pageShown();

            visibilityTimers[(size_t) index].reset();   // last: this deletes the running callback
        }
    });
    slot->startTimer (100);
}

void MainComponent::showProducts()
{
    if (auto* login = getLoginPage())
        login->clearPassword();

    showPage (productsPageIndex);
    refreshProducts();
}

void MainComponent::refreshProducts()
{
    // The request under way will put its list on the page.
    if (refreshing)
        return;

    auto* page = getProductsPage();

    if (page == nullptr)
        return;

    refreshing = true;
    page->clearList();

    juce::Component::SafePointer<MainComponent> self (this);
    VRCloud::fetchProducts (account, [self] (std::vector<VRCloud::Product> products)
    {
        if (auto* component = self.getComponent())
            component->listArrived (std::move (products));
    });
}

void MainComponent::listArrived (std::vector<VRCloud::Product> products)
{
    auto* page = getProductsPage();
    const auto rows = VRCloud::prepareProductRows (std::move (products), formatSettings);

    for (const auto& row : rows)
        page->addRow (row);

    page->buildCells();
    page->listBuilt();
    page->resized();
    page->showSpinner (false);

    refreshing = false;
    writeLog ("extralog, products listed: " + juce::String ((int) rows.size()) + " rows");
}

void MainComponent::openSettings()
{
    if (settings == nullptr || (settingsPage != nullptr && ! settingsPage->isClosing()))
        return;

    writeLog ("start settings menu, vst2folder: <" + settings->getValue (SettingsKeys::vst2folder) + ">");

    const auto email = Settings::getEmail (*settings);
    auto* page = new SettingsPage (this, &formatSettings, CredentialChecks::endsWithStaffDomain (email),
                                   Settings::getUseTestUrl (*settings), Settings::getTestUrl (*settings));
    page->setBounds (getLocalBounds());
    addAndMakeVisible (page);
    page->toFront (true);
    settingsPage = page;
}

//==============================================================================
void MainComponent::loginPressed (const juce::String& email, const juce::String& password,
                                  bool useTestUrl, const juce::String& testUrl)
{
    if (settings == nullptr)
        return;

    writeLog ("extralog, email = <" + email + ">");
    writeLog ("extralog, password length = " + juce::String (password.length()));

    // Only staff accounts may point the app at another server.
    if (CredentialChecks::endsWithStaffDomain (email))
    {
        settings->setValue (SettingsKeys::testUrl, testUrl);
        settings->setValue (SettingsKeys::useTestUrl, useTestUrl);
        saveSettings();
    }

    updateApiBase (*settings);

    afterTermsAccepted ([this, email, password] { signIn (email, password, {}); });
}

void MainComponent::openWithEmailAndCode (const juce::String& email, const juce::String& code)
{
    if (settings == nullptr)
        return;

    // A code for another account must never leave the old account's token in use.
    const auto storedEmail = Settings::getEmail (*settings);

    if (storedEmail.isNotEmpty() && storedEmail != email)
        clearStoredToken();

    writeLog ("openWithEmailAndCode, email = <" + email + ">");
    writeLog ("openWithEmailAndCode, code = <" + code + ">");

    afterTermsAccepted ([this, email, code] { signIn (email, {}, code); });
}

void MainComponent::afterTermsAccepted (std::function<void()> continuation)
{
    if (Settings::hasAcceptedTerms (*settings))
    {
        continuation();
        return;
    }

    // While the dialog is up, a newer request replaces the waiting one
    // instead of stacking a second dialog.
    afterTerms = std::move (continuation);

    if (termsToast != nullptr)
        return;

    auto* toast = Toast::showTermsDialog (this);

    if (toast == nullptr)
        return;

    if (toast->button2 != nullptr)
    {
        const auto bounds = toast->button2->getBounds();
        toast->button2->setBounds (bounds.getX() - 15, bounds.getY(), 58, bounds.getHeight());
    }

    juce::Component::SafePointer<MainComponent> self (this);
    toast->onResult = [self] (int result)
    {
        auto* component = self.getComponent();

        if (component == nullptr)
            return;

        auto next = std::move (component->afterTerms);
        component->afterTerms = nullptr;

        if (result == 1)
        {
            component->settings->setValue (SettingsKeys::acceptedTerms, "yes");
            component->saveSettings();
            writeLog ("Accepted terms: yes");

            if (next)
                next();
        }
        else
        {
            writeLog ("Accepted terms: no");
        }
    };

    termsToast = toast;
}

void MainComponent::signIn (const juce::String& email, const juce::String& password, const juce::String& code)
{
    juce::Component::SafePointer<MainComponent> self (this);

    VRCloud::getTokenAsync (email, password, code, [self, email] (std::string token, VRCloud::Error error)
    {
        writeLog ("extralog, login getTokenAsync err = " + juce::String ((int) error));

        auto* component = self.getComponent();

        if (component == nullptr)
            return;

        const auto tokenText = juce::String::fromUTF8 (token.c_str());

        if (error == VRCloud::ok)
        {
            component->account.token = tokenText;
            component->account.email = email;
        }

        component->onSignInResult (error, tokenText, email);
    });
}

void MainComponent::onSignInResult (VRCloud::Error error, const juce::String& token, const juce::String& email)
{
    writeLog ("extralog, login callback err = " + juce::String ((int) error));

    if (error == VRCloud::ok)
    {
        writeLog ("login, previous email = <" + Settings::getEmail (*settings) + ">");
        writeLog ("login, new email = <" + email + ">");

        settings->setValue (SettingsKeys::token, token);
        settings->setValue (SettingsKeys::email, email);
        saveSettings();

        showProducts();
        tokenRejected = false;

        if (! isTimerRunning())
            startTimer (tokenPollMs);

        return;
    }

    if (error == VRCloud::noConnection)
    {
        juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::WarningIcon, "Error!",
                                                "Could not connect to server.");
        writeLog ("Login failed");
        return;
    }

    Toast::showDialog ("Error! (" + juce::String ((int) error) + ")", "Invalid credentials", "OK", {}, this);
}

void MainComponent::timerCallback()
{
    if (tokenRejected)
    {
        stopTimer();
        showPage (loginPageIndex);
    }
}

//==============================================================================
void MainComponent::logoutPressed()
{
    writeLog ("logoutPressed");
    saveFormatSettings (formatSettings, *settings);
    saveSettings();
    clearStoredToken();
    showPage (loginPageIndex);
}

juce::String MainComponent::getToken()
{
    return account.token;
}

void MainComponent::wipePressed (const std::vector<ProductRow>& products)
{
    writeLog ("wipePressed");
    saveFormatSettings (formatSettings, *settings);
    saveSettings();

    if (auto* page = getProductsPage(); page != nullptr && ! products.empty())
        Uninstall::wipeProducts (products, formatSettings, Locations::dataFolder(), &page->installQueue);

    refreshProducts();
}

void MainComponent::refreshPressed()
{
    writeLog ("refresh pressed");
    refreshProducts();
}

std::vector<ProductRow> MainComponent::getProducts()
{
    writeLog ("getProducts");

    // Counts the resources and expansions too: a wipe must offer everything it can remove.
    if (auto* page = getProductsPage())
        return Uninstall::installedRows (page->rows, Locations::dataFolder());

    return {};
}

void MainComponent::settingsFinished (bool changed, bool useTestUrl, const juce::String& testUrl)
{
    writeLog ("settingsFinished");
    settings->setValue (SettingsKeys::testUrl, testUrl);
    settings->setValue (SettingsKeys::useTestUrl, useTestUrl);
    saveFormatSettings (formatSettings, *settings);
    saveSettings();
    updateApiBase (*settings);

    if (auto* login = getLoginPage())
        login->setDeveloperAddress (testUrl, useTestUrl);

    if (changed)
        refreshProducts();
}

juce::String MainComponent::getEmail()
{
    return settings != nullptr ? Settings::getEmail (*settings) : juce::String();
}

FormatSettings MainComponent::getFormatSettings()
{
    return formatSettings;
}

void MainComponent::setLocalBuild (const juce::String& name, const juce::String& appName, const juce::String& build)
{
    writeLog ("MainComp setLocalBuild..." + name + " : " + build);
    ::setLocalBuild (name, appName, build);
}

void MainComponent::startChildProcesses (const juce::String& version, const juce::String& build)
{
    // The self-update hand-over is not part of the application yet.
    juce::ignoreUnused (version, build);
}

void MainComponent::sendToken (const juce::String& token)
{
    // Only an update coordinator has somebody to send the token to, and none
    // exists before a self-update starts.
    juce::ignoreUnused (token);
}

//==============================================================================
void MainComponent::clearStoredToken()
{
    account.token = {};
    settings->setValue (SettingsKeys::token, juce::String());
    saveSettings();
}

void MainComponent::saveSettings()
{
    if (settings != nullptr)
        settings->saveIfNeeded();
}

void MainComponent::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (backgroundColour));

    if (! firstFramePainted)
    {
        firstFramePainted = true;
        writeLog ("extralog, first frame painted");
    }
}

void MainComponent::resized()
{
    for (auto& page : pages)
        if (page != nullptr)
            page->setBounds (getLocalBounds());

    if (settingsPage != nullptr)
        settingsPage->setBounds (getLocalBounds());
}
