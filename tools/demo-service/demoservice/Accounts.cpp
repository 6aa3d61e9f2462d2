#include "demoservice/Accounts.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace demoservice
{
Accounts::Accounts (std::string domain)
    : staffDomain (lower (std::move (domain)))
{
    std::random_device seed;
    random.seed ((std::uint64_t (seed()) << 32) ^ seed());
}

std::string Accounts::lower (std::string text)
{
    std::transform (text.begin(), text.end(), text.begin(), [] (unsigned char c) { return static_cast<char> (std::tolower (c)); });
    return text;
}

std::string Accounts::randomText (std::size_t length, const char* alphabet)
{
    const auto count = std::strlen (alphabet);
    std::uniform_int_distribution<std::size_t> pick (0, count - 1);
    std::string out;
    for (std::size_t i = 0; i < length; ++i)
        out += alphabet[pick (random)];
    return out;
}

bool Accounts::add (const std::string& email, const std::string& password)
{
    if (email.find ('@') == std::string::npos || password.size() < 4)
        return false;

    const std::lock_guard<std::mutex> guard (lock);
    const auto key = lower (email);
    const auto suffix = "@" + staffDomain;
    const bool staff = key.size() > suffix.size() && key.compare (key.size() - suffix.size(), suffix.size(), suffix) == 0;
    accounts[key] = { email, password, staff };
    return true;
}

std::vector<Accounts::Account> Accounts::list() const
{
    const std::lock_guard<std::mutex> guard (lock);
    std::vector<Account> out;
    for (const auto& entry : accounts)
        out.push_back (entry.second);
    return out;
}

bool Accounts::exists (const std::string& email) const
{
    const std::lock_guard<std::mutex> guard (lock);
    return accounts.count (lower (email)) != 0;
}

bool Accounts::isStaff (const std::string& email) const
{
    const std::lock_guard<std::mutex> guard (lock);
    const auto it = accounts.find (lower (email));
    return it != accounts.end() && it->second.staff;
}

bool Accounts::checkPassword (const std::string& email, const std::string& password) const
{
    const std::lock_guard<std::mutex> guard (lock);
    const auto it = accounts.find (lower (email));
    return it != accounts.end() && it->second.password == password;
}

std::optional<std::string> Accounts::signIn (const std::string& email, const std::string& password)
{
    const std::lock_guard<std::mutex> guard (lock);
    const auto it = accounts.find (lower (email));

    if (it == accounts.end() || it->second.password != password)
        return std::nullopt;

    return newTokenFor (it->first);
}

std::string Accounts::newTokenFor (const std::string& key)
{
    const auto token = randomText (40, "0123456789abcdef");
    tokens[token] = key;
    return token;
}

std::string Accounts::issueSignInCode (const std::string& email)
{
    const std::lock_guard<std::mutex> guard (lock);
    const auto key = lower (email);

    if (accounts.count (key) == 0)
        return {};

    const auto code = randomText (8, "ABCDEFGHJKLMNPQRSTUVWXYZ23456789");
    codes[code] = { key, std::chrono::steady_clock::now() + codeLifetime };
    return code;
}

std::optional<std::string> Accounts::exchangeCode (const std::string& email, const std::string& code)
{
    const std::lock_guard<std::mutex> guard (lock);
    const auto it = codes.find (code);

    if (it == codes.end())
        return std::nullopt;

    const auto issued = it->second;
    codes.erase (it);

    if (issued.email != lower (email) || std::chrono::steady_clock::now() > issued.expires)
        return std::nullopt;

    return newTokenFor (issued.email);
}

std::string Accounts::issueToken (const std::string& email)
{
    const std::lock_guard<std::mutex> guard (lock);
    const auto key = lower (email);

    if (accounts.count (key) == 0)
        return {};

    return newTokenFor (key);
}

std::optional<std::string> Accounts::emailForToken (const std::string& token) const
{
    const std::lock_guard<std::mutex> guard (lock);
    const auto it = tokens.find (token);

    if (it == tokens.end())
        return std::nullopt;

    return accounts.at (it->second).email;
}

void Accounts::setCodeLifetime (std::chrono::seconds lifetime)
{
    const std::lock_guard<std::mutex> guard (lock);
    codeLifetime = lifetime;
}

void Accounts::revokeToken (const std::string& token)
{
    const std::lock_guard<std::mutex> guard (lock);
    tokens.erase (token);
}

void Accounts::revokeAllTokens()
{
    const std::lock_guard<std::mutex> guard (lock);
    tokens.clear();
}
}
