// The main component against the demo service: which page a start shows,
// the sign-in paths, the terms, refreshes and a token the service drops.

#include "app/MainComponent.h"
#include "cloud/ServiceConfig.h"
#include "app/settings/SettingsKeys.h"
#include "app/settings/SettingsStore.h"
#include "cloud/RequestEngine.h"
#include "platform/Locations.h"
#include "support/DemoServiceFixture.h"
#include "ui/look/Toast.h"
#include "ui/pages/LoginPage.h"
#include "ui/pages/ProductsPage.h"
#include "ui/pages/SettingsPage.h"
#include "support/ComponentTesting.h"

#include <optional>

namespace
{
    const std::string cataloguePath = "/api/vds/resources/windows";

    class MainComponentService : public DemoServiceFixture
    {
    protected:
        void SetUp() override
        {
            DemoServiceFixture::SetUp();
            // The component points requests at the production origin (or the
            // staff test server) itself, so production must be the demo service.
            productionIsDemo.emplace (ServiceConfig::serviceVariable, juce::String (service.origin()));
            service.clearRequests();
        }

        void TearDown() override
        {
            juce::ModalComponentManager::getInstance()->cancelAllModalComponents();
            pumpUntil ([] { return false; }, 50);
            productionIsDemo.reset();
            DemoServiceFixture::TearDown();
        }

        /** Writes values into the settings file before a component reads it. */
        static void storeSettings (std::initializer_list<std::pair<const char*, juce::String>> values)
        {
            FormatSettings formats;
            auto store = createPropertiesFile (formats);

            for (auto& [key, value] : values)
                store->setValue (key, value);

            store->saveIfNeeded();
        }

        std::unique_ptr<MainComponent> start()
        {
            auto component = std::make_unique<MainComponent>();
            EXPECT_TRUE (component->initialize ({}, {}, {}).wasOk());
            return component;
        }

        static bool listed (MainComponent& component)
        {
            return pumpUntil ([&] { return ! component.isRefreshing(); }, 15000);
        }

        /** Lets the page's picture loads end before the component goes. Wine's
            WinINet puts a connection whose body a cancel cut off back in its
            pool, and the next request sent on it (the next start's token
            check) reads the rest of that picture as its answer. */
        static bool picturesLoaded (MainComponent& component)
        {
            return pumpUntil ([&] { return component.getProductsPage()->pictures.pendingLoads() == 0; }, 20000);
        }

        static Toast* toastTitled (juce::Component& parent, const juce::String& title)
        {
            for (auto* child : parent.getChildren())
                if (auto* toast = dynamic_cast<Toast*> (child); toast != nullptr && toast->title == title)
                    return toast;

            return nullptr;
        }

        juce::String demoEmail() const    { return service.demoAccount().email; }
        juce::String demoPassword() const { return service.demoAccount().password; }

        std::optional<ScopedEnvironmentVariable> productionIsDemo;
    };
}

TEST_F (MainComponentService, FirstStartShowsTheLoginPageWithoutARequest)
{
    auto component = start();

    EXPECT_EQ (component->shownPageIndex(), MainComponent::loginPageIndex);
    EXPECT_EQ (component->getWidth(), 820);
    EXPECT_EQ (component->getHeight(), 600);
    EXPECT_FALSE (component->isTimerRunning());
    EXPECT_TRUE (service.requests().empty());
}

TEST_F (MainComponentService, StoredValidTokenShowsTheCatalogueAndARestartKeepsIt)
{
    storeSettings ({ { SettingsKeys::token, demoToken() }, { SettingsKeys::email, demoEmail() } });

    for (int run = 0; run < 2; ++run)
    {
        auto component = start();
        EXPECT_EQ (component->shownPageIndex(), MainComponent::productsPageIndex) << run;
        EXPECT_TRUE (component->isTimerRunning());
        ASSERT_TRUE (listed (*component));

        auto* page = component->getProductsPage();
        EXPECT_FALSE (page->rows.empty());
        EXPECT_EQ (page->cells.size(), page->rows.size());
        EXPECT_EQ (page->spinner.getParentComponent(), nullptr);
        EXPECT_TRUE (picturesLoaded (*component));
    }

    // Each start checks the token once and fetches the list once.
    EXPECT_EQ (service.requestsTo (cataloguePath).size(), 4u);
    EXPECT_TRUE (logSinceStart().contains ("extralog, products listed: "));
}

TEST_F (MainComponentService, RejectedStoredTokenShowsTheLoginPage)
{
    const auto token = demoToken();
    service.revokeToken (token.toStdString());
    storeSettings ({ { SettingsKeys::token, token } });

    auto component = start();
    EXPECT_EQ (component->shownPageIndex(), MainComponent::loginPageIndex);
    EXPECT_EQ (service.requestsTo (cataloguePath).size(), 1u);
    EXPECT_EQ (component->getSettings()->getValue (SettingsKeys::token), token);
}

TEST_F (MainComponentService, SignInStoresTheAccountAndShowsTheProducts)
{
    storeSettings ({ { SettingsKeys::acceptedTerms, "YES" } });
    auto component = start();

    component->getLoginPage()->passwordField.setText (demoPassword());
    component->loginPressed (demoEmail(), demoPassword(), false, {});
    ASSERT_TRUE (pumpUntil ([&] { return component->shownPageIndex() == MainComponent::productsPageIndex; }, 15000));

    auto* store = component->getSettings();
    EXPECT_FALSE (store->getValue (SettingsKeys::token).isEmpty());
    EXPECT_EQ (store->getValue (SettingsKeys::token), component->getAccount().token);
    EXPECT_EQ (store->getValue (SettingsKeys::email), demoEmail());
    EXPECT_EQ (component->getEmail(), demoEmail());
    EXPECT_TRUE (component->getLoginPage()->passwordField.isEmpty());
    EXPECT_TRUE (component->isTimerRunning());
    ASSERT_TRUE (listed (*component));
    EXPECT_FALSE (component->getProductsPage()->rows.empty());

    const auto log = logSinceStart();
    EXPECT_TRUE (log.contains ("extralog, password length = " + juce::String (demoPassword().length())));
    EXPECT_FALSE (log.contains (demoPassword()));
    EXPECT_TRUE (log.contains ("login, new email = <" + demoEmail() + ">"));

    // The token was saved to disk: a new start signs in silently.
    EXPECT_TRUE (picturesLoaded (*component));
    component.reset();
    service.clearRequests();
    auto restarted = start();
    EXPECT_EQ (restarted->shownPageIndex(), MainComponent::productsPageIndex);
    EXPECT_TRUE (service.requestsTo ("/api/vds/auth").empty());
}

TEST_F (MainComponentService, ServiceDownGivesTheConnectionMessageAndKeepsTheLoginPage)
{
   #if JUCE_WINDOWS
    GTEST_SKIP() << "stops the service, and under Wine every test shares one native service that must keep running";
   #endif

    if (! displayAvailable())
        GTEST_SKIP() << "the message box needs a display";

    storeSettings ({ { SettingsKeys::acceptedTerms, "yes" } });
    auto component = start();
    service.stop();

    component->loginPressed (demoEmail(), demoPassword(), false, {});
    juce::AlertWindow* alert = nullptr;
    ASSERT_TRUE (pumpUntil ([&]
    {
        alert = dynamic_cast<juce::AlertWindow*> (juce::Component::getCurrentlyModalComponent());
        return alert != nullptr;
    }, 15000));

    EXPECT_EQ (alert->getName(), "Error!");
    EXPECT_EQ (alert->getDescription(), "Error!. Could not connect to server.");
    EXPECT_EQ (component->shownPageIndex(), MainComponent::loginPageIndex);
    EXPECT_TRUE (component->getSettings()->getValue (SettingsKeys::token).isEmpty());
    EXPECT_TRUE (logSinceStart().contains ("Login failed"));
}

TEST_F (MainComponentService, RefusedSignInShowsTheStatusInTheToastTitle)
{
    storeSettings ({ { SettingsKeys::acceptedTerms, "yes" } });
    auto component = start();

    struct Case { juce::String password; juce::String title; bool sent; };
    for (const auto& c : { Case { "wrong-password", "Error! (401)", true },
                           Case { "abc", "Error! (8)", false } })
    {
        service.clearRequests();
        component->loginPressed (demoEmail(), c.password, false, {});
        ASSERT_TRUE (pumpUntil ([&] { return toastTitled (*component, c.title) != nullptr; }, 15000)) << c.title;

        auto* toast = toastTitled (*component, c.title);
        EXPECT_EQ (toast->message, "Invalid credentials");
        ASSERT_NE (toast->button1, nullptr);
        EXPECT_EQ (toast->button1->text, "OK");
        EXPECT_EQ (toast->button2, nullptr);
        EXPECT_EQ (service.requestsTo ("/api/vds/auth").size(), c.sent ? 1u : 0u);
        EXPECT_EQ (component->shownPageIndex(), MainComponent::loginPageIndex);
        EXPECT_TRUE (component->getAccount().token.isEmpty());
        delete toast;
    }
}

TEST_F (MainComponentService, TermsDialogDecidesWhetherTheSignInIsSent)
{
    auto component = start();

    // Declined: DONE with the switch off.
    component->loginPressed (demoEmail(), demoPassword(), false, {});
    auto* toast = component->getTermsToast();
    ASSERT_NE (toast, nullptr);
    ASSERT_NE (toast->button2, nullptr);
    EXPECT_EQ (toast->button2->getWidth(), 58);
    EXPECT_EQ (toast->button2->getX(), toast->boxWidth + 12 - 15);

    toast->button2->triggerClick();
    ASSERT_TRUE (pumpUntil ([&] { return component->getTermsToast() == nullptr; }));
    pumpUntil ([] { return false; }, 200);
    EXPECT_TRUE (service.requests().empty());
    EXPECT_EQ (component->shownPageIndex(), MainComponent::loginPageIndex);
    EXPECT_NE (component->getSettings()->getValue (SettingsKeys::acceptedTerms), "yes");
    EXPECT_TRUE (logSinceStart().contains ("Accepted terms: no"));

    // Accepted: the sign-in goes ahead and the answer is remembered. A second
    // press while the dialog waits brings no second dialog, and only the
    // latest sign-in is sent.
    component->loginPressed (demoEmail(), "first-try", false, {});
    toast = component->getTermsToast();
    ASSERT_NE (toast, nullptr);
    component->loginPressed (demoEmail(), demoPassword(), false, {});
    EXPECT_EQ (component->getTermsToast(), toast);
    int dialogs = 0;
    for (auto* child : component->getChildren())
        dialogs += dynamic_cast<Toast*> (child) != nullptr ? 1 : 0;
    EXPECT_EQ (dialogs, 1);

    ASSERT_NE (toast->acceptToggle, nullptr);
    toast->acceptToggle->setToggleState (true, juce::sendNotificationSync);
    toast->button2->triggerClick();
    ASSERT_TRUE (pumpUntil ([&] { return component->shownPageIndex() == MainComponent::productsPageIndex; }, 15000));
    EXPECT_EQ (component->getSettings()->getValue (SettingsKeys::acceptedTerms), "yes");
    EXPECT_EQ (service.requestsTo ("/api/vds/auth").size(), 1u);
    EXPECT_TRUE (logSinceStart().contains ("Accepted terms: yes"));
}

TEST_F (MainComponentService, OnlyStaffAddressesMayChooseTheServer)
{
    const auto nowhere = closedOrigin();

    // A customer's switch is ignored: production (the demo service) still answers.
    {
        storeSettings ({ { SettingsKeys::acceptedTerms, "yes" } });
        auto component = start();
        component->loginPressed (demoEmail(), demoPassword(), true, nowhere);
        ASSERT_TRUE (pumpUntil ([&] { return component->shownPageIndex() == MainComponent::productsPageIndex; }, 15000));
        EXPECT_FALSE (Settings::getUseTestUrl (*component->getSettings()));
        ASSERT_TRUE (listed (*component));
        EXPECT_TRUE (picturesLoaded (*component));
    }

    // A staff address's choice is stored and used: with production gone, the
    // demo service is reached as the test server.
    ScopedEnvironmentVariable productionGone (ServiceConfig::serviceVariable, nowhere);
    auto component = start();
    const auto staff = service.staffAccount();
    component->loginPressed (staff.email, staff.password, true, service.origin());
    ASSERT_TRUE (pumpUntil ([&] { return component->shownPageIndex() == MainComponent::productsPageIndex; }, 15000));
    EXPECT_TRUE (Settings::getUseTestUrl (*component->getSettings()));
    EXPECT_EQ (Settings::getTestUrl (*component->getSettings()), juce::String (service.origin()));
    EXPECT_EQ (apiBaseURL(), juce::String (service.origin()) + "/api");
    ASSERT_TRUE (listed (*component));
}

TEST_F (MainComponentService, QuickSecondRefreshSendsNoSecondRequest)
{
    storeSettings ({ { SettingsKeys::token, demoToken() } });
    auto component = start();
    ASSERT_TRUE (listed (*component));
    service.clearRequests();

    component->refreshPressed();
    component->refreshPressed();
    ASSERT_TRUE (listed (*component));
    pumpUntil ([] { return false; }, 200);

    EXPECT_EQ (service.requestsTo (cataloguePath).size(), 1u);
    EXPECT_FALSE (component->getProductsPage()->cells.empty());
}

TEST_F (MainComponentService, TokenRejectedLaterReturnsToTheLoginPageWithinAPoll)
{
    const auto token = demoToken();
    storeSettings ({ { SettingsKeys::token, token } });
    auto component = start();
    ASSERT_TRUE (listed (*component));

    service.revokeToken (token.toStdString());
    component->refreshPressed();
    ASSERT_TRUE (pumpUntil ([] { return tokenRejected.load(); }, 15000));

    // One poll period, with room for a busy machine.
    EXPECT_TRUE (pumpUntil ([&] { return component->shownPageIndex() == MainComponent::loginPageIndex; },
                            MainComponent::tokenPollMs + 1000));
    EXPECT_FALSE (component->isTimerRunning());
    EXPECT_EQ (component->getSettings()->getValue (SettingsKeys::token), token);
}

TEST_F (MainComponentService, BrowserSignInForAnotherAddressDropsTheOldTokenFirst)
{
    storeSettings ({ { SettingsKeys::token, demoToken() },
                     { SettingsKeys::email, demoEmail() },
                     { SettingsKeys::acceptedTerms, "yes" } });
    auto component = start();
    ASSERT_TRUE (listed (*component));

    component->openWithEmailAndCode ("someone.else@example.com", "not-a-code");

    // Before any answer, and whatever it turns out to be.
    EXPECT_TRUE (component->getAccount().token.isEmpty());
    EXPECT_TRUE (component->getSettings()->getValue (SettingsKeys::token).isEmpty());
    ASSERT_TRUE (pumpUntil ([&] { return toastTitled (*component, "Error! (401)") != nullptr
                                      || toastTitled (*component, "Error! (403)") != nullptr
                                      || toastTitled (*component, "Error! (16)") != nullptr; }, 15000));

    // The same address with a valid code signs in.
    const auto code = service.issueSignInCode (demoEmail().toStdString());
    component->openWithEmailAndCode (demoEmail(), code);
    ASSERT_TRUE (pumpUntil ([&] { return component->getAccount().token.isNotEmpty(); }, 15000));
    EXPECT_EQ (component->getSettings()->getValue (SettingsKeys::token), component->getAccount().token);
    EXPECT_EQ (service.requestsTo ("/api/vds/sso_auth").size(), 2u);
    EXPECT_TRUE (logSinceStart().contains ("openWithEmailAndCode, code = <" + juce::String (code) + ">"));
}

TEST_F (MainComponentService, HandOverValuesAnnounceTheUpdate)
{
    if (! displayAvailable())
        GTEST_SKIP() << "the message box needs a display";

    struct Case { juce::String version, build; bool shown; };
    for (const auto& c : { Case { "1.2.0", "7", true }, Case { "1.2.0", "", false } })
    {
        MainComponent component;
        ASSERT_TRUE (component.initialize ({}, c.version, c.build).wasOk());
        pumpUntil ([] { return false; }, 100);

        auto* alert = dynamic_cast<juce::AlertWindow*> (juce::Component::getCurrentlyModalComponent());
        EXPECT_EQ (alert != nullptr, c.shown) << c.build;

        if (alert != nullptr)
        {
            EXPECT_EQ (alert->getName(), "VDS updated");
            EXPECT_EQ (alert->getDescription(), "VDS updated. Version = 1.2.0 || Build = 7");
        }

        juce::ModalComponentManager::getInstance()->cancelAllModalComponents();
        pumpUntil ([] { return false; }, 50);
    }
}

TEST_F (MainComponentService, LogOutEmptiesTheTokenAndTheNextStartAsksNothing)
{
    storeSettings ({ { SettingsKeys::token, demoToken() } });
    {
        auto component = start();
        ASSERT_TRUE (listed (*component));
        EXPECT_TRUE (picturesLoaded (*component));
        component->logoutPressed();
        EXPECT_EQ (component->shownPageIndex(), MainComponent::loginPageIndex);
        EXPECT_TRUE (component->getToken().isEmpty());
    }

    service.clearRequests();
    auto component = start();
    EXPECT_EQ (component->shownPageIndex(), MainComponent::loginPageIndex);
    EXPECT_TRUE (service.requests().empty());
}

TEST_F (MainComponentService, InstalledProductsCountResourcesAndExpansionsAndWipeRemovesTheTickedOnes)
{
    storeSettings ({ { SettingsKeys::token, demoToken() }, { SettingsKeys::email, demoEmail() } });
    auto component = start();
    ASSERT_TRUE (listed (*component));
    EXPECT_TRUE (picturesLoaded (*component));

    auto fileOf = [] (const ProductRow& row, PluginFormat format)
    {
        for (const auto& target : row.targets)
            if (target.format == format)
                return target.file;

        return juce::File();
    };

    // Copies: the wipe's refresh replaces the page's rows.
    const auto rows = component->getProductsPage()->rows;
    std::vector<ProductRow> plugins, expansions;

    for (const auto& row : rows)
    {
        if (row.isExpansion() && row.parentTitle.isNotEmpty() && ! row.contents.isEmpty())
            expansions.push_back (row);
        else if (! row.isExpansion() && fileOf (row, PluginFormats::resources) != juce::File()
                  && fileOf (row, PluginFormats::vst2) != juce::File())
            plugins.push_back (row);
    }

    ASSERT_GE (plugins.size(), 2u);
    ASSERT_GE (expansions.size(), 1u);
    const auto resourcesOnly = plugins[0], vst2Only = plugins[1], expansion = expansions[0];
    EXPECT_TRUE (component->getProducts().empty()) << "a fresh sandbox has nothing installed";

    auto put = [] (const juce::File& file)
    {
        EXPECT_TRUE (file.getParentDirectory().createDirectory().wasOk());
        EXPECT_TRUE (file.replaceWithText ("x")) << file.getFullPathName();
    };

    const auto resourceFile = fileOf (resourcesOnly, PluginFormats::resources);
    const auto vst2File = fileOf (vst2Only, PluginFormats::vst2);
    const auto dataOfVst2 = Locations::dataFolder().getChildFile (vst2Only.title);
    auto expansionFile = Locations::dataFolder().getChildFile (expansion.parentTitle);

    for (const auto& piece : juce::StringArray::fromTokens (expansion.contents[0], "/", {}))
        expansionFile = expansionFile.getChildFile (piece);

    put (resourceFile);
    put (vst2File);
    put (dataOfVst2.getChildFile ("appdata/Assets.vra"));
    put (dataOfVst2.getChildFile ("user.settings"));
    put (expansionFile);

    juce::StringArray offered, expected;

    // The same expansion may be listed once per parent plugin.
    auto key = [] (const ProductRow& row) { return row.category + "/" + row.name + "/" + row.parentTitle; };

    for (const auto& row : component->getProducts())
        offered.add (key (row));

    for (const auto& row : rows)
        if (key (row) == key (resourcesOnly) || key (row) == key (vst2Only) || key (row) == key (expansion))
            expected.add (key (row));

    EXPECT_EQ (offered.joinIntoString ("|"), expected.joinIntoString ("|"))
        << "in list order, the resources-only plugin and the expansion included";

    // Through the gear button, the settings page's uninstall section and its tick list.
    clickNow (component->getProductsPage()->header.button);
    auto* settingsPage = component->getSettingsPage();
    ASSERT_NE (settingsPage, nullptr);
    EXPECT_FALSE (settingsPage->staffMode);
    EXPECT_EQ (settingsPage->getBounds(), component->getLocalBounds());
    EXPECT_TRUE (logSinceStart().contains ("start settings menu, vst2folder: <>"));

    clickNow (settingsPage->uninstallTab);
    auto& list = settingsPage->installedList;
    ASSERT_EQ (list.rows.size(), (size_t) offered.size());

    for (size_t i = 0; i < list.rows.size(); ++i)
        if (key (list.rows[i]) != key (vst2Only) && key (list.rows[i]) != key (expansion))
            clickNow (*list.tickBoxes[i]);

    clickNow (settingsPage->wipeButton);
    ASSERT_TRUE (pumpUntil ([&] { return component->getSettingsPage() == nullptr; }));

    EXPECT_FALSE (vst2File.exists());
    EXPECT_FALSE (dataOfVst2.getChildFile ("appdata").exists());
    EXPECT_TRUE (dataOfVst2.getChildFile ("user.settings").existsAsFile()) << "other files in the data folder stay";
    EXPECT_FALSE (expansionFile.exists());
    EXPECT_TRUE (resourceFile.existsAsFile()) << "not ticked";
    EXPECT_TRUE (logSinceStart().contains ("will wipe: " + vst2Only.title));
    EXPECT_TRUE (logSinceStart().contains ("will wipe: " + expansion.title));
    ASSERT_TRUE (listed (*component)) << "the list is fetched again";
    EXPECT_TRUE (picturesLoaded (*component));
}
