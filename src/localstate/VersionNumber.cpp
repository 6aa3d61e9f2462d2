#include "localstate/VersionNumber.h"

#include <climits>
#include <cstdlib>

bool operator< (const VersionNumber& a, const VersionNumber& b) noexcept
{
    if (a.major != b.major)  return a.major < b.major;
    if (a.minor != b.minor)  return a.minor < b.minor;
    return a.patch < b.patch;
}

bool operator== (const VersionNumber& a, const VersionNumber& b) noexcept
{
    return a.invalid == b.invalid && a.major == b.major && a.minor == b.minor && a.patch == b.patch;
}

namespace
{
    // Reads one "%d" the way formatted input does: white space skipped, an
    // optional sign, then decimal digits. Out-of-range values saturate
    // instead of being undefined.
    bool readNumber (const char*& p, int& out)
    {
        while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
            ++p;

        const char* start = p;
        bool negative = false;

        if (*p == '+' || *p == '-')
            negative = (*p++ == '-');

        if (*p < '0' || *p > '9')
        {
            p = start;
            return false;
        }

        long long value = 0;

        while (*p >= '0' && *p <= '9')
        {
            value = value * 10 + (*p++ - '0');

            if (value > (long long) INT_MAX + 1)
                value = (long long) INT_MAX + 1;
        }

        value = negative ? -value : value;
        out = (int) juce::jlimit ((long long) INT_MIN, (long long) INT_MAX, value);
        return true;
    }

    // "%d.%d[.%d]": stops at the first thing that does not match, leaving the
    // remaining numbers as they were.
    void readDotted (const char* p, int* numbers, int count)
    {
        for (int i = 0; i < count; ++i)
        {
            if (i > 0)
            {
                if (*p != '.')
                    return;
                ++p;
            }

            if (! readNumber (p, numbers[i]))
                return;
        }
    }
}

VersionNumber parseVersion (const juce::String& text)
{
    const auto utf8 = text.toStdString();
    const auto dots = std::count (utf8.begin(), utf8.end(), '.');

    VersionNumber v;

    if (dots == 2 || dots == 3)
    {
        int numbers[3] = { -1, -1, -1 };
        readDotted (utf8.c_str(), numbers, 3);
        v.major = numbers[0];
        v.minor = numbers[1];
        v.patch = numbers[2];
        v.invalid = (v.major < 0 || v.minor < 0 || v.patch < 0) ? 1 : 0;
    }
    else if (dots == 1)
    {
        int numbers[2] = { -1, -1 };
        readDotted (utf8.c_str(), numbers, 2);
        v.major = numbers[0];
        v.minor = numbers[1];
        v.patch = 0;
        v.invalid = (v.major < 0 || v.minor < 0) ? 1 : 0;
    }

    return v;
}

juce::String versionToText (const VersionNumber& v)
{
    if (v.minor != -1 || v.invalid != 0)
    {
        if (v.patch != -1 || v.invalid != 0)
            return juce::String (v.major) + "." + juce::String (v.minor) + "." + juce::String (v.patch);

        return juce::String (v.major) + "." + juce::String (v.minor);
    }

    return juce::String (v.major);
}
