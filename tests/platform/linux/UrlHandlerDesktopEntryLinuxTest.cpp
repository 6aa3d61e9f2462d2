#include "platform/linux/UrlHandlerDesktopEntryLinux.h"

#include <gtest/gtest.h>

TEST (UrlHandlerDesktopEntry, ExecArgumentIsQuotedAndEscapedForTheKeyFile)
{
    struct Case { const char* path; const char* inFile; };
    const Case cases[] = {
        { "/opt/Vamrelund Helper",    R"("/opt/Vamrelund Helper")" },
        { "/opt/a\"b",                R"("/opt/a\\"b")" },
        { "/opt/$HOME`x`",            R"("/opt/\\$HOME\\`x\\`")" },
        { "/opt/back\\slash",         R"("/opt/back\\\\slash")" },
        { "/opt/100%u",               R"("/opt/100%%u")" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (UrlHandlerDesktopEntry::quotedExecArgument (c.path), juce::String (c.inFile)) << c.path;
}

TEST (UrlHandlerDesktopEntry, EntryIsAHiddenHandlerOfTheScheme)
{
    EXPECT_EQ (UrlHandlerDesktopEntry::fileName ("vamrhelper"), "vamrhelper-url-handler.desktop");
    EXPECT_EQ (UrlHandlerDesktopEntry::text ("vamrhelper", "/opt/Vamrelund Helper"),
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Vamrelund Helper\n"
               "Exec=\"/opt/Vamrelund Helper\" %u\n"
               "MimeType=x-scheme-handler/vamrhelper;\n"
               "NoDisplay=true\n");
}
