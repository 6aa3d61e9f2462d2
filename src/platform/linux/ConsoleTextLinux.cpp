#include "platform/ConsoleText.h"

#include <cstdio>

namespace
{
    void write (std::FILE* stream, const std::wstring& text)
    {
        std::string bytes;
        bytes.reserve (text.size());

        // Characters beyond one byte cannot appear in these texts; a
        // question mark is what a Windows console prints for them.
        for (auto c : text)
            bytes.push_back (static_cast<unsigned> (c) < 256 ? static_cast<char> (c) : '?');

        std::fwrite (bytes.data(), 1, bytes.size(), stream);

        // Standard output is a file or pipe when a test or a launcher starts
        // us, and fully buffered then; the line must be there at once.
        std::fflush (stream);
    }
}

namespace ConsoleText
{
    void toOutput (const std::wstring& text)  { write (stdout, text); }
    void toError (const std::wstring& text)   { write (stderr, text); }
}
