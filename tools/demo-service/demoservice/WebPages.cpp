#include "demoservice/WebPages.h"

#include <cctype>
#include <cstdio>

namespace demoservice::webpages
{
namespace
{
    std::string page (const std::string& title, const std::string& body)
    {
        return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
               "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
               "<title>" + escapeHtml (title) + " - Vamrelund</title>"
               "<style>body{font-family:sans-serif;background:#e0e6ea;color:#31414c;margin:0}"
               "main{max-width:32em;margin:3em auto;background:#fff;padding:2em;border-radius:6px}"
               "label{display:block;margin-top:1em}input{width:100%;padding:.4em;box-sizing:border-box}"
               "button{margin-top:1.5em;padding:.5em 1.5em;background:#31414c;color:#d2e1ea;border:0;border-radius:4px}"
               ".problem{color:#e01010}</style></head>\n<body><main>\n<h1>" + escapeHtml (title) + "</h1>\n"
               + body + "\n</main></body></html>\n";
    }

    std::string percentEncode (const std::string& text, const std::string& keep)
    {
        std::string out;
        for (auto c : text)
        {
            const auto u = static_cast<unsigned char> (c);
            if (std::isalnum (u) || keep.find (c) != std::string::npos)
            {
                out += c;
            }
            else
            {
                char escaped[4];
                std::snprintf (escaped, sizeof (escaped), "%%%02X", u);
                out += escaped;
            }
        }
        return out;
    }

    std::string percentDecode (const std::string& text)
    {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i)
        {
            if (text[i] == '+')
            {
                out += ' ';
            }
            else if (text[i] == '%' && i + 2 < text.size()
                     && std::isxdigit (static_cast<unsigned char> (text[i + 1]))
                     && std::isxdigit (static_cast<unsigned char> (text[i + 2])))
            {
                out += static_cast<char> (std::stoi (text.substr (i + 1, 2), nullptr, 16));
                i += 2;
            }
            else
            {
                out += text[i];
            }
        }
        return out;
    }
}

std::string escapeHtml (const std::string& text)
{
    std::string out;
    for (auto c : text)
    {
        switch (c)
        {
            case '&':  out += "&amp;"; break;
            case '<':  out += "&lt;"; break;
            case '>':  out += "&gt;"; break;
            case '"':  out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default:   out += c;
        }
    }
    return out;
}

std::map<std::string, std::string> formFields (const std::string& encoded)
{
    std::map<std::string, std::string> fields;
    std::size_t start = 0;

    while (start < encoded.size())
    {
        auto end = encoded.find ('&', start);
        if (end == std::string::npos)
            end = encoded.size();

        const auto pair = encoded.substr (start, end - start);
        const auto equals = pair.find ('=');
        if (! pair.empty())
        {
            const auto key = percentDecode (pair.substr (0, equals));
            fields[key] = equals == std::string::npos ? std::string() : percentDecode (pair.substr (equals + 1));
        }

        start = end + 1;
    }

    return fields;
}

std::string signInLink (const std::string& email, const std::string& code)
{
    return "vamrhelper://email=" + percentEncode (email, "@.-_") + "&code=" + percentEncode (code, "-_");
}

std::string home()
{
    return page ("Vamrelund", "<p>This is the demo of the Vamrelund cloud service.</p><ul>"
                              "<li><a href=\"/sso\">Sign in to Vamrelund Helper with your browser</a></li>"
                              "<li><a href=\"/sign-up\">Create a free account</a></li>"
                              "<li><a href=\"/forgot-password\">Forgot password</a></li>"
                              "<li><a href=\"/terms\">Terms and privacy policy</a></li></ul>");
}

std::string signInForm (const std::string& email, const std::string& problem)
{
    return page ("Sign in to Vamrelund Helper",
                 (problem.empty() ? std::string() : "<p class=\"problem\">" + escapeHtml (problem) + "</p>")
                 + "<form method=\"post\" action=\"/sso\">"
                   "<label>E-mail address<input name=\"email\" type=\"email\" value=\"" + escapeHtml (email) + "\" required></label>"
                   "<label>Password<input name=\"password\" type=\"password\" required></label>"
                   "<button type=\"submit\">Sign in and open the helper</button></form>");
}

std::string signInDone (const std::string& link)
{
    const auto escaped = escapeHtml (link);
    return page ("You are signed in",
                 "<p>Your browser now hands the sign-in to Vamrelund Helper.</p>"
                 "<p>If nothing happens, <a id=\"helper-link\" href=\"" + escaped + "\">open Vamrelund Helper</a>.</p>"
                 "<script>window.location.href = document.getElementById('helper-link').href;</script>");
}

std::string signUpForm (const std::string& problem)
{
    return page ("Create a free account",
                 (problem.empty() ? std::string() : "<p class=\"problem\">" + escapeHtml (problem) + "</p>")
                 + "<form method=\"post\" action=\"/sign-up\">"
                   "<label>E-mail address<input name=\"email\" type=\"email\" required></label>"
                   "<label>Password (at least 4 characters)<input name=\"password\" type=\"password\" required></label>"
                   "<button type=\"submit\">Create account</button></form>");
}

std::string signUpDone (const std::string& email)
{
    return page ("Account created", "<p>The account " + escapeHtml (email)
                                    + " is ready. Sign in with it in Vamrelund Helper.</p>");
}

std::string forgotPasswordForm()
{
    return page ("Forgot password", "<form method=\"post\" action=\"/forgot-password\">"
                                    "<label>E-mail address<input name=\"email\" type=\"email\" required></label>"
                                    "<button type=\"submit\">Send a reset link</button></form>");
}

std::string forgotPasswordSent (const std::string& email)
{
    return page ("Check your mail", "<p>If an account exists for " + escapeHtml (email)
                                    + ", a link to choose a new password is on its way.</p>");
}

std::string terms()
{
    return page ("Terms and privacy policy",
                 "<p>These are the demo terms of the Vamrelund cloud service.</p>"
                 "<h2>Licences</h2><p>Products are licensed to the account that bought them.</p>"
                 "<h2>Privacy</h2><p>The service keeps the e-mail address of an account and the products it owns.</p>");
}

std::string product (const std::string& title, const std::string& subtitle, const std::string& notes)
{
    return page (title, "<p>" + escapeHtml (subtitle) + "</p>"
                        + (notes.empty() ? std::string() : "<pre>" + escapeHtml (notes) + "</pre>"));
}

std::string notFound()
{
    return page ("Not found", "<p>There is no such page.</p>");
}
}
