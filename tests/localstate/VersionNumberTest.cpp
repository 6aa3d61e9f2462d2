#include "localstate/VersionNumber.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace
{
    ::testing::AssertionResult isVersion (const VersionNumber& v, int invalid, int major, int minor, int patch)
    {
        if (v.invalid == invalid && v.major == major && v.minor == minor && v.patch == patch)
            return ::testing::AssertionSuccess();

        return ::testing::AssertionFailure() << "got invalid " << v.invalid << ", " << v.major << "." << v.minor << "." << v.patch;
    }

    // The same steps written with the C library's formatted input, to hold
    // the hand-written reader to it.
    VersionNumber parseWithScanf (const std::string& text)
    {
        const auto dots = std::count (text.begin(), text.end(), '.');
        VersionNumber v;

        if (dots == 2 || dots == 3)
        {
            v.major = v.minor = v.patch = -1;
            std::sscanf (text.c_str(), "%d.%d.%d", &v.major, &v.minor, &v.patch);
            v.invalid = (v.major < 0 || v.minor < 0 || v.patch < 0) ? 1 : 0;
        }
        else if (dots == 1)
        {
            v.patch = 0;
            v.major = v.minor = -1;
            std::sscanf (text.c_str(), "%d.%d", &v.major, &v.minor);
            v.invalid = (v.major < 0 || v.minor < 0) ? 1 : 0;
        }

        return v;
    }
}

TEST (VersionNumber, ParsesLikeFormattedInput)
{
    struct Case { const char* text; int invalid, major, minor, patch; };
    const Case cases[] = {
        { "1.2.3",         0,  1,  2,  3 },
        { "2.5",           0,  2,  5,  0 },
        { "1.2.3.4",       0,  1,  2,  3 },    // a fourth number is ignored
        { "7",             1,  1,  0,  0 },    // no dot: the default
        { "a.b.c",         1, -1, -1, -1 },
        { "",              1,  1,  0,  0 },
        { "1.2.3.4.5",     1,  1,  0,  0 },    // more than three dots
        { "10.0.1",        0, 10,  0,  1 },
        { " 1. 2.\t3",     0,  1,  2,  3 },    // white space before a number is skipped
        { "1 .2.3",        1,  1, -1, -1 },    // but not before a dot
        { "1.2.x",         1,  1,  2, -1 },
        { "1..3",          1,  1, -1, -1 },
        { "-1.2.3",        1, -1,  2,  3 },
        { "+1.2.3",        0,  1,  2,  3 },
        { "1.2b",          0,  1,  2,  0 },
        { "v1.2.3",        1, -1, -1, -1 },
        { "1.2.3-beta.1",  0,  1,  2,  3 },
        { "1.-0",          0,  1,  0,  0 },
        { "4294967296.0.0", 0, 2147483647, 0, 0 },   // out of range: saturated, never undefined
    };

    for (const auto& c : cases)
        EXPECT_TRUE (isVersion (parseVersion (c.text), c.invalid, c.major, c.minor, c.patch)) << "\"" << c.text << "\"";
}

TEST (VersionNumber, AgreesWithScanfOnRandomTexts)
{
    std::mt19937 random (20240611);
    const std::string alphabet = "0123456789...-+ \tax";
    int compared = 0;

    while (compared < 20000)
    {
        std::string text;
        const auto length = random() % 13;

        for (size_t i = 0; i < length; ++i)
            text += alphabet[random() % alphabet.size()];

        // Out-of-range numbers are undefined for scanf; they have their own case above.
        if (text.find ("000000000") != std::string::npos || std::count_if (text.begin(), text.end(), ::isdigit) > 8)
            continue;

        const auto ours = parseVersion (text);
        const auto expected = parseWithScanf (text);
        ASSERT_TRUE (isVersion (ours, expected.invalid, expected.major, expected.minor, expected.patch)) << "\"" << text << "\"";
        ++compared;
    }
}

TEST (VersionNumber, TextForm)
{
    struct Case { VersionNumber v; const char* text; };
    const Case cases[] = {
        { { 0, 1, 2, 3 },     "1.2.3" },
        { {},                 "1.0.0" },       // the default, invalid
        { { 1, -1, -1, -1 },  "-1.-1.-1" },    // unreadable text: all three shown
        { { 0, 5, -1, -1 },   "5" },
        { { 0, 5, 2, -1 },    "5.2" },
        { { 0, -3, 4, 5 },    "-3.4.5" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (versionToText (c.v), c.text);

    struct RoundTrip { const char* text; const char* shown; };
    const RoundTrip trips[] = {
        { "1.2.3", "1.2.3" }, { "2.5", "2.5.0" }, { "1.2.3.4", "1.2.3" }, { "7", "1.0.0" }, { "a.b.c", "-1.-1.-1" },
    };

    for (const auto& t : trips)
        EXPECT_EQ (versionToText (parseVersion (t.text)), t.shown) << t.text;
}

TEST (VersionNumber, OrdersNumbersAsIntegersIgnoringValidity)
{
    EXPECT_TRUE (parseVersion ("9.9.9") < parseVersion ("10.0.1"));
    EXPECT_FALSE (parseVersion ("10.0.1") < parseVersion ("9.9.9"));
    EXPECT_TRUE (parseVersion ("1.2.3") < parseVersion ("1.3.0"));
    EXPECT_TRUE (parseVersion ("1.2") < parseVersion ("1.2.1"));
    EXPECT_FALSE (parseVersion ("1.2.0") < parseVersion ("1.2"));
    EXPECT_TRUE (parseVersion ("a.b.c") < parseVersion ("0.0.0"));

    const VersionNumber invalid { 1, 1, 2, 3 }, valid { 0, 1, 2, 3 };
    EXPECT_FALSE (invalid < valid);
    EXPECT_FALSE (valid < invalid);
    EXPECT_FALSE (invalid == valid);
}
