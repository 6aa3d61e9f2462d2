#include "cloud/RequestEngine.h"

#include <gtest/gtest.h>

TEST (RequestHeaders, LinesAndOrderFollowBodyKindAndToken)
{
    struct Case { int bodyKind; const char* token; const char* expected; };
    const Case cases[] = {
        { 0, "",    "Content-Type: application/json\nvds-version: 1.0.14\nplatform: Windows" },
        { 0, "tok", "Content-Type: application/json\nAuthorization: Bearer tok\nvds-version: 1.0.14\nplatform: Windows" },
        { 1, "tok", "Authorization: Bearer tok\nvds-version: 1.0.14\nplatform: Windows" },
        { 2, "tok", "Authorization: Bearer tok\nvds-version: 1.0.14\nplatform: Windows" },
        // No token and no content type: the text starts with the line break.
        { 2, "",    "\nvds-version: 1.0.14\nplatform: Windows" },
    };

    for (const auto& c : cases)
        EXPECT_EQ (RequestEngine::requestHeaders (c.bodyKind, c.token), c.expected) << c.bodyKind << " " << c.token;
}
