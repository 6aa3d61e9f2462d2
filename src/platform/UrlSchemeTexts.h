#pragma once

#include <string>

/** What the URL-scheme registration says on the console, in Swedish.

    The texts are kept exactly as the product has always printed them: "Ã¶",
    "Ã¤" and "Ã¥" stand where ö, ä and å belong. Written through the console
    streams (ConsoleText), each pair becomes the two UTF-8 bytes of its
    letter, so a UTF-8 terminal shows the right word. */
namespace UrlSchemeTexts
{
    /** Error: the protocol's own entry could not be made. */
    std::wstring protocolEntryFailed();

    /** Error: the entry with the open command could not be made. */
    std::wstring commandEntryFailed();

    /** Output: both entries were written. */
    std::wstring registered (const std::wstring& scheme);

    /** Output, after registered(): the scheme is ready for web pages. */
    std::wstring ready (const std::wstring& scheme);

    /** Error, after one of the error lines (or a failed value write). */
    std::wstring failed();
}
