#pragma once

#include "cloud/CloudAccount.h"
#include "cloud/CloudError.h"

#include <functional>
#include <string>

namespace VRCloud
{
    /** Checks made before anything is sent: 1, or 4 (bad e-mail address),
        8 (password under four characters and no code) or 12 (both). */
    Error preValidateCredentials (const juce::String& email, const juce::String& password, const juce::String& code);

    /** POST "/vds/auth" with {"email", "password"}. */
    juce::URL getAuthURL (const juce::String& email, const juce::String& password);

    /** POST "/vds/sso_auth" with {"email", "code"}. */
    juce::URL getSSOAuthURL (const juce::String& email, const juce::String& code);

    /** Signs in with the password, or else with the browser code. `done` runs
        once on the message thread (at once when a local check fails), except
        when the application quits before the answer. */
    void getTokenAsync (const juce::String& email, const juce::String& password, const juce::String& code,
                        std::function<void (std::string token, Error error)> done);

    /** 0 → noConnection, 200 → ok, 403 → forbidden, anything else unchanged. */
    Error getErrorForResponseCode (int status);

    /** Asks the service whether the account's token is still accepted. Blocks
        for up to ten seconds. */
    bool validateToken (const CloudAccount& account, bool* forbidden = nullptr);
}
