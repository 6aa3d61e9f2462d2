#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace demoservice
{
    /** The service's accounts: e-mail addresses with passwords, one-time codes
        of the browser sign-in, and the bearer tokens handed out for them.
        Addresses compare without regard to case. Safe to use from any thread. */
    class Accounts
    {
    public:
        struct Account
        {
            std::string email;
            std::string password;
            bool staff = false;
        };

        explicit Accounts (std::string staffDomain);

        /** Adds an account or replaces its password. False for an address
            without "@" or a password shorter than 4 characters. */
        bool add (const std::string& email, const std::string& password);

        std::vector<Account> list() const;
        bool exists (const std::string& email) const;
        bool isStaff (const std::string& email) const;

        bool checkPassword (const std::string& email, const std::string& password) const;

        /** A new token when the password is right. */
        std::optional<std::string> signIn (const std::string& email, const std::string& password);

        /** A fresh one-time code for the browser sign-in, valid for ten
            minutes; empty when there is no such account. */
        std::string issueSignInCode (const std::string& email);

        /** A new token when the code was issued for this address and is
            neither used nor expired; the code is spent either way. */
        std::optional<std::string> exchangeCode (const std::string& email, const std::string& code);

        /** Signs in without a password (for tests); empty when there is no such account. */
        std::string issueToken (const std::string& email);

        /** The address a live token belongs to. */
        std::optional<std::string> emailForToken (const std::string& token) const;

        void revokeToken (const std::string& token);
        void revokeAllTokens();

        /** How long a new code stays valid (ten minutes unless changed). */
        void setCodeLifetime (std::chrono::seconds lifetime);

    private:
        std::string randomText (std::size_t length, const char* alphabet);

        /** A fresh bearer token for the account; the caller holds the lock. */
        std::string newTokenFor (const std::string& key);
        static std::string lower (std::string text);

        struct Code
        {
            std::string email;
            std::chrono::steady_clock::time_point expires;
        };

        const std::string staffDomain;
        mutable std::mutex lock;
        std::map<std::string, Account> accounts;      // by lower-case address
        std::map<std::string, Code> codes;
        std::map<std::string, std::string> tokens;    // token -> lower-case address
        std::mt19937_64 random;
        std::chrono::seconds codeLifetime { 600 };
    };
}
