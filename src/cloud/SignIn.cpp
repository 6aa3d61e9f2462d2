#include "cloud/SignIn.h"

#include "log/DiagnosticLog.h"
#include "cloud/ServiceConfig.h"
#include "cloud/CredentialChecks.h"
#include "cloud/ProductsRequest.h"
#include "cloud/VamretRequest.h"

namespace VRCloud
{
    namespace
    {
        juce::String jsonBody (const char* firstName, const juce::String& first,
                               const char* secondName, const juce::String& second)
        {
            auto* object = new juce::DynamicObject();
            object->setProperty (firstName, first);
            object->setProperty (secondName, second);
            return juce::JSON::toString (juce::var (object));
        }

        Error errorFromStatus (int status)
        {
            if (status == 0)    return noConnection;
            if (status == 200)  return ok;
            if (status == 403)  return forbidden;
            return (Error) status;
        }
    }

    Error preValidateCredentials (const juce::String& email, const juce::String& password, const juce::String& code)
    {
        int result = 1;

        if (! CredentialChecks::isEmailValid (email))
            result |= invalidEmail;

        if (! CredentialChecks::isPasswordValid (password) && code.isEmpty())
            result |= invalidPassword;

        return result == 1 ? ok : (Error) (result & ~1);
    }

    juce::URL getAuthURL (const juce::String& email, const juce::String& password)
    {
        auto url = juce::URL (apiBaseURL() + "/vds/auth").withPOSTData (jsonBody ("email", email, "password", password));
        writeLog ("getAuthURL " + url.toString (true));
        return url;
    }

    juce::URL getSSOAuthURL (const juce::String& email, const juce::String& code)
    {
        const auto body = jsonBody ("email", email, "code", code);
        auto url = juce::URL (apiBaseURL() + "/vds/sso_auth").withPOSTData (body);
        writeLog ("getSSOAuthURL " + url.toString (true));
        writeLog ("extralog, getSSOAuthURL json = <" + body + ">");
        return url;
    }

    void getTokenAsync (const juce::String& email, const juce::String& password, const juce::String& code,
                        std::function<void (std::string, Error)> done)
    {
        const auto err = preValidateCredentials (email, password, code);
        writeLog ("extralog, getTokenAsync preValidateCredentials err = " + juce::String ((int) err));

        if (err != ok)
        {
            done ({}, err);
            return;
        }

        const auto url = password.isNotEmpty() ? getAuthURL (email, password)
                                               : getSSOAuthURL (email, code);
        writeLog ("extralog, getTokenAsync url = " + url.toString (true));

        sendAsync (url, {}, [done = std::move (done)] (VamretResponse answer)
        {
            const auto token = answer.json.isObject() ? answer.json.getProperty ("token", juce::var()).toString()
                                                      : juce::String();
            writeLog ("extralog, getTokenAsync performAsync callback res.code = " + juce::String (answer.status));
            done (token.toStdString(), getErrorForResponseCode (answer.status));
        });
    }

    Error getErrorForResponseCode (int status)
    {
        writeLog ("extralog, getErrorForResponseCode = " + juce::String (status));
        return errorFromStatus (status);
    }

    bool validateToken (const CloudAccount& account, bool* forbiddenOut)
    {
        if (account.token.isEmpty())
            return false;

        const auto answer = performRequest (productsURL(), RequestEngine::Method::get, RequestEngine::BodyKind::tokenCheck,
                                            RequestEngine::timeoutMs, account.token);

        if (forbiddenOut != nullptr)
            *forbiddenOut = (answer.status == 403);

        return answer.status == 200;
    }
}
