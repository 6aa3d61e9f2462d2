#include "platform/UrlSchemeTexts.h"

// This file is UTF-8: "Ã¶" below is the two characters U+00C3 U+00B6.
namespace UrlSchemeTexts
{
    std::wstring protocolEntryFailed()  { return L"Misslyckades skapa registret fÃ¶r protokollet.\n"; }
    std::wstring commandEntryFailed()   { return L"Misslyckades skapa command-nyckel.\n"; }
    std::wstring failed()               { return L"NÃ¥got gick fel vid registreringen.\n"; }

    std::wstring registered (const std::wstring& scheme)
    {
        return L"Protokollet \"" + scheme + L"\" registrerades!\n";
    }

    std::wstring ready (const std::wstring& scheme)
    {
        return L"Registrering klar. Du kan nu anvÃ¤nda " + scheme + L":// i webbsidor.\n";
    }
}
