// demoservice::Accounts for the Windows tests: every call is answered by the
// native service's accounts through its control endpoints (RemoteDemoService.cpp).

#include "support/windows/RemoteDemoServiceControl.h"

#include <demoservice/Accounts.h>

namespace demoservice
{
namespace rds = remotedemoservice;

namespace
{
    juce::var str (const std::string& value)  { return juce::String (value); }
    std::string text (const juce::var& value) { return value.toString().toStdString(); }

    std::optional<std::string> optionalText (const juce::var& value)
    {
        return value.isString() ? std::optional<std::string> (text (value)) : std::nullopt;
    }

    juce::var withEmail (const std::string& email) { return rds::object ({ { "email", str (email) } }); }
}

Accounts::Accounts (std::string domain) : staffDomain (std::move (domain)) {}

bool Accounts::add (const std::string& email, const std::string& password)
{
    return (bool) rds::call ("accounts/add", rds::object ({ { "email", str (email) }, { "password", str (password) } }))["ok"];
}

std::vector<Accounts::Account> Accounts::list() const
{
    std::vector<Account> out;
    const auto answer = rds::call ("accounts/list");

    if (auto* items = answer.getArray())
        for (const auto& item : *items)
            out.push_back ({ text (item["email"]), text (item["password"]), (bool) item["staff"] });

    return out;
}

bool Accounts::exists (const std::string& email) const  { return (bool) rds::call ("accounts/exists", withEmail (email))["ok"]; }
bool Accounts::isStaff (const std::string& email) const { return (bool) rds::call ("accounts/isStaff", withEmail (email))["ok"]; }

bool Accounts::checkPassword (const std::string& email, const std::string& password) const
{
    return (bool) rds::call ("accounts/checkPassword", rds::object ({ { "email", str (email) }, { "password", str (password) } }))["ok"];
}

std::optional<std::string> Accounts::signIn (const std::string& email, const std::string& password)
{
    return optionalText (rds::call ("accounts/signIn", rds::object ({ { "email", str (email) }, { "password", str (password) } }))["token"]);
}

std::string Accounts::issueSignInCode (const std::string& email)
{
    return text (rds::call ("accounts/issueSignInCode", withEmail (email))["code"]);
}

std::optional<std::string> Accounts::exchangeCode (const std::string& email, const std::string& code)
{
    return optionalText (rds::call ("accounts/exchangeCode", rds::object ({ { "email", str (email) }, { "code", str (code) } }))["token"]);
}

std::string Accounts::issueToken (const std::string& email)
{
    return text (rds::call ("accounts/issueToken", withEmail (email))["token"]);
}

std::optional<std::string> Accounts::emailForToken (const std::string& token) const
{
    return optionalText (rds::call ("accounts/emailForToken", rds::object ({ { "token", str (token) } }))["email"]);
}

void Accounts::revokeToken (const std::string& token)
{
    rds::call ("accounts/revokeToken", rds::object ({ { "token", str (token) } }));
}

void Accounts::revokeAllTokens()
{
    rds::call ("accounts/revokeAllTokens");
}

void Accounts::setCodeLifetime (std::chrono::seconds lifetime)
{
    rds::call ("accounts/setCodeLifetime", rds::object ({ { "seconds", (juce::int64) lifetime.count() } }));
}
}
