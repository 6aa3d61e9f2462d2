#include "install/DownloadAnswerRule.h"

#include <gtest/gtest.h>

using DownloadAnswerRule::Action;

TEST (DownloadAnswerRule, OnlyAWholeFileOrTheExactContinuationIsWritten)
{
    struct Case
    {
        int status;
        const char* contentRange;
        juce::int64 onDisk;
        juce::int64 expectedSize;
        Action action;
    };

    const Case cases[] {
        { 200, "",                   0,    1000, Action::writeFromStart },
        { 200, "",                   400,  1000, Action::writeFromStart },   // range ignored: start again
        { 206, "bytes 400-999/1000", 400,  1000, Action::append },
        { 206, "bytes 0-999/1000",   400,  1000, Action::refuse },           // would double the start
        { 206, "bytes 500-999/1000", 400,  1000, Action::refuse },           // would leave a hole
        { 206, "",                   400,  1000, Action::refuse },
        { 206, "bytes 400-999/*",    400,  0,    Action::append },
        { 416, "bytes */1000",       1000, 1000, Action::alreadyComplete },
        { 416, "bytes */1000",       1000, 0,    Action::alreadyComplete },  // the server's total stands in
        { 416, "",                   1000, 0,    Action::discardFile },
        { 416, "bytes */1000",       1200, 1000, Action::discardFile },
        { 416, "bytes */1200",       1200, 1000, Action::discardFile },      // the catalogue's size wins
        { 404, "",                   0,    1000, Action::refuse },
        { 500, "",                   400,  1000, Action::refuse },
        { 302, "",                   0,    1000, Action::refuse },
    };

    for (const auto& c : cases)
        EXPECT_EQ (DownloadAnswerRule::actionFor (c.status, c.contentRange, c.onDisk, c.expectedSize), c.action)
            << c.status << " '" << c.contentRange << "' on disk " << c.onDisk << " expected " << c.expectedSize;
}

TEST (DownloadAnswerRule, ContentRangeAndTheServersFullSize)
{
    struct Case
    {
        const char* text;
        juce::int64 first, last, total;
    };

    const Case cases[] {
        { "bytes 0-99/100",     0,  99, 100 },
        { "Bytes 10-99/100",    10, 99, 100 },
        { "bytes 10-99/*",      10, 99, -1 },
        { "bytes */100",        -1, -1, 100 },
        { "bytes 99-10/100",    -1, -1, 100 },
        { "bytes x-9/100",      -1, -1, 100 },
        { "items 0-9/100",      -1, -1, -1 },
        { "",                   -1, -1, -1 },
    };

    for (const auto& c : cases)
    {
        const auto range = DownloadAnswerRule::parseContentRange (c.text);
        EXPECT_EQ (range.first, c.first) << c.text;
        EXPECT_EQ (range.last, c.last) << c.text;
        EXPECT_EQ (range.total, c.total) << c.text;
    }

    EXPECT_EQ (DownloadAnswerRule::fullSizeFrom (200, "", 3624), 3624);
    EXPECT_EQ (DownloadAnswerRule::fullSizeFrom (200, "", -1), -1);
    EXPECT_EQ (DownloadAnswerRule::fullSizeFrom (206, "bytes 1500-3623/3624", 2124), 3624);
    EXPECT_EQ (DownloadAnswerRule::fullSizeFrom (416, "bytes */3624", 0), 3624);
    EXPECT_EQ (DownloadAnswerRule::fullSizeFrom (500, "", 120), -1);
}
