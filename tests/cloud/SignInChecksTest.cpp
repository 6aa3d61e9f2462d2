#include "cloud/SignIn.h"

#include <gtest/gtest.h>

TEST (SignInChecks, PreValidationTable)
{
    struct Case { const char* email; const char* password; const char* code; int expected; };
    const Case cases[] = {
        { "a@b.com", "pass",  "",     1 },
        { "a@bcom",  "pass",  "",     4 },   // no dot
        { "ab.com",  "pass",  "",     4 },   // no at sign
        { "",        "pass",  "",     4 },
        { "a@b.com", "abc",   "",     8 },
        { "a@b.com", "abc",   "code", 1 },   // a code lets a short password through
        { "a@b.com", "",      "code", 1 },
        { "",        "",      "",     12 },
        { "a@b",     "x",     "",     12 },
        { "a@b.com", "äöü",   "",     8 },   // characters, not bytes
        { "a@b.com", "äöüß",  "",     1 },
    };

    for (const auto& c : cases)
        EXPECT_EQ ((int) VRCloud::preValidateCredentials (juce::CharPointer_UTF8 (c.email), juce::CharPointer_UTF8 (c.password), c.code),
                   c.expected) << c.email << " / " << c.password << " / " << c.code;
}

TEST (SignInChecks, ResponseCodesMapToResults)
{
    const std::pair<int, int> cases[] = { { 0, 2 }, { 200, 1 }, { 403, 16 }, { 401, 401 }, { 404, 404 }, { 500, 500 } };

    for (auto [status, expected] : cases)
        EXPECT_EQ ((int) VRCloud::getErrorForResponseCode (status), expected) << status;
}
