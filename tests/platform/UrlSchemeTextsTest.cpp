#include "platform/UrlSchemeTexts.h"

#include <gtest/gtest.h>

namespace
{
    // Each wide character as one byte, as the console writes these texts.
    std::string consoleBytes (const std::wstring& text)
    {
        std::string bytes;

        for (auto c : text)
        {
            EXPECT_LT (static_cast<unsigned> (c), 256u);
            bytes.push_back (static_cast<char> (c));
        }

        return bytes;
    }
}

TEST (UrlSchemeTexts, SwedishLettersReachTheConsoleAsTheirUtf8Bytes)
{
    struct Case { std::wstring text; const char* utf8; };
    const Case cases[] = {
        { UrlSchemeTexts::protocolEntryFailed(), "Misslyckades skapa registret f\xc3\xb6r protokollet.\n" },
        { UrlSchemeTexts::commandEntryFailed(),  "Misslyckades skapa command-nyckel.\n" },
        { UrlSchemeTexts::registered (L"vamrhelper"), "Protokollet \"vamrhelper\" registrerades!\n" },
        { UrlSchemeTexts::ready (L"vamrhelper"), "Registrering klar. Du kan nu anv\xc3\xa4nda vamrhelper:// i webbsidor.\n" },
        { UrlSchemeTexts::failed(),              "N\xc3\xa5got gick fel vid registreringen.\n" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (consoleBytes (c.text), std::string (c.utf8));

    // Stored as the two characters, not as the letter.
    EXPECT_NE (UrlSchemeTexts::failed().find (L"N\u00c3\u00a5got"), std::wstring::npos);
}
