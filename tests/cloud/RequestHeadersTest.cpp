#include "cloud/RequestEngine.h"

#include <gtest/gtest.h>

TEST (RequestHeaders, LinesAndOrderFollowBodyKindAndToken)
{
    using Kind = RequestEngine::BodyKind;
    struct Case { Kind bodyKind; const char* token; const char* expected; };
    const Case cases[] = {
        { Kind::json, "",    "Content-Type: application/json\nvds-version: " VAMRHELPER_VERSION_STRING "\nplatform: Windows" },
        { Kind::json, "tok", "Content-Type: application/json\nAuthorization: Bearer tok\nvds-version: " VAMRHELPER_VERSION_STRING "\nplatform: Windows" },
        { Kind::tokenCheck, "tok", "Authorization: Bearer tok\nvds-version: " VAMRHELPER_VERSION_STRING "\nplatform: Windows" },
        { Kind::catalogue, "tok", "Authorization: Bearer tok\nvds-version: " VAMRHELPER_VERSION_STRING "\nplatform: Windows" },
        // No token and no content type: the text starts with the line break.
        { Kind::catalogue, "",    "\nvds-version: " VAMRHELPER_VERSION_STRING "\nplatform: Windows" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (RequestEngine::requestHeaders (c.bodyKind, c.token), c.expected) << (int) c.bodyKind << " " << c.token;
}
