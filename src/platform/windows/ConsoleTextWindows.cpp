#include "platform/ConsoleText.h"

#include <iostream>

namespace ConsoleText
{
    void toOutput (const std::wstring& text)
    {
        std::wcout << text << std::flush;
    }

    void toError (const std::wstring& text)
    {
        std::wcerr << text << std::flush;
    }
}
