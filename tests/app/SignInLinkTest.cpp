#include "app/SignInLink.h"

#include <gtest/gtest.h>

TEST (SignInLink, CommandLinesSplitAfterUnescaping)
{
    struct Case { const char* commandLine; bool accepted; const char* email; const char* code; };
    const Case cases[] = {
        { "vamrhelper://email=a@b.com&code=XYZ",              true,  "a@b.com",  "XYZ" },
        { "vamrhelper://email=a%40b.com&code=XYZ",            true,  "a@b.com",  "XYZ" },   // escaped at sign
        { "vamrhelper://email=a@b.com&code=1+2%2B3",          true,  "a@b.com",  "1 2+3" }, // plus is a space, %2B a plus
        { "vamrhelper://email=a%26b@c.com&code=Q",            true,  "a",        "Q" },     // escaped & ends the address
        { "vamrhelper://email=a@b.com",                       true,  "a@b.com",  "" },      // no code
        { "vamrhelper://email=&code=C",                       true,  "",         "C" },
        { "vamrhelper://email=a@b.com&x=1&code=C&code=D",     true,  "a@b.com",  "C&code=D" },
        { "vamrhelper%3A%2F%2Femail%3Da%40b.com%26code%3DZ",  true,  "a@b.com",  "Z" },     // escaped as a whole
        { "VAMRHELPER://email=a@b.com&code=C",                false, "",         "" },      // capitals ignored
        { "vamrhelper://Email=a@b.com&code=C",                false, "",         "" },
        { "\"vamrhelper://email=a@b.com&code=C\"",            false, "",         "" },
        { "",                                                 false, "",         "" },
        { "--some-flag",                                      false, "",         "" },
    };

    for (const auto& c : cases)
    {
        const auto link = parseSignInCommandLine (c.commandLine);
        ASSERT_EQ (link.has_value(), c.accepted) << c.commandLine;

        if (link)
        {
            EXPECT_EQ (link->email, c.email) << c.commandLine;
            EXPECT_EQ (link->code, c.code) << c.commandLine;
        }
    }
}

TEST (SignInLink, LinkStartedCommandLinesGiveTheirLink)
{
    struct Case { const char* commandLine; const char* link; };   // nullptr: not a link start
    const Case cases[] = {
        { "vamrhelper://email=a@b.com&code=C",                 "vamrhelper://email=a@b.com&code=C" },
        { "\"vamrhelper://email=a@b.com&code=C\"",             "vamrhelper://email=a@b.com&code=C" },   // Windows' quoted "%1"
        { "  \"vamrhelper://email=a@b.com&code=C\" ",          "vamrhelper://email=a@b.com&code=C" },
        { "VAMRHELPER://email=a@b.com&code=C",                 "VAMRHELPER://email=a@b.com&code=C" },   // handed on; the instance ignores it
        { "vamrhelper%3A%2F%2Femail%3Da%40b.com%26code%3DZ",   "vamrhelper%3A%2F%2Femail%3Da%40b.com%26code%3DZ" },
        { "vamrhelper:",                                       "vamrhelper:" },
        { "",                                                  nullptr },
        { "\"\"",                                              nullptr },
        { "\"",                                                nullptr },
        { "--some-flag",                                       nullptr },
        { "https://www.example.com/vamrhelper://",             nullptr },
        { "--demoUID:vamrhelper://",                           nullptr },
    };

    for (const auto& c : cases)
    {
        const auto link = signInLinkFromCommandLine (c.commandLine);
        ASSERT_EQ (link.has_value(), c.link != nullptr) << c.commandLine;

        if (link)
        {
            EXPECT_EQ (*link, c.link) << c.commandLine;
        }
    }
}
