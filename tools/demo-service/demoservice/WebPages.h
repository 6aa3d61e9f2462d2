#pragma once

#include <map>
#include <string>

namespace demoservice
{
    /** The service's small web site: pages opened in the browser by the
        client (sign-in, sign-up, forgotten password, terms, product pages). */
    namespace webpages
    {
        std::string home();
        std::string signInForm (const std::string& email, const std::string& problem);
        std::string signInDone (const std::string& link);
        std::string signUpForm (const std::string& problem);
        std::string signUpDone (const std::string& email);
        std::string forgotPasswordForm();
        std::string forgotPasswordSent (const std::string& email);
        std::string terms();
        std::string product (const std::string& title, const std::string& subtitle, const std::string& notes);
        std::string notFound();

        /** The link that hands a browser sign-in back to the helper. The address
            keeps "@" and "." and escapes what would break the link. */
        std::string signInLink (const std::string& email, const std::string& code);

        /** The fields of an application/x-www-form-urlencoded body (or query). */
        std::map<std::string, std::string> formFields (const std::string& encoded);

        std::string escapeHtml (const std::string& text);
    }
}
