#pragma once

#include <string>

/** Wide text on the process's standard streams, byte for byte as a Windows
    console in its default locale writes it: every character below 256
    becomes that one byte. The URL-scheme texts rely on this, since they
    hold the two UTF-8 bytes of each Swedish letter as two characters. */
namespace ConsoleText
{
    void toOutput (const std::wstring& text);
    void toError (const std::wstring& text);
}
