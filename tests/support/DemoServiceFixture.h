#pragma once

#include "support/TestEnvironment.h"

#include <demoservice/DemoService.h>

#include <gtest/gtest.h>

/** A sandbox and the demo service on a free loopback port, with the
    client's base address pointed at it. */
class DemoServiceFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    /** A token of the demo customer. */
    juce::String demoToken();

    /** The one request recorded for a path (fails the test if not exactly one). */
    demoservice::RecordedRequest onlyRequestTo (const std::string& path);

    /** The header names of a request, in the order received, lower-cased. */
    static juce::StringArray headerNames (const demoservice::RecordedRequest& request);

    /** The text of the general log written since the test started. */
    juce::String logSinceStart() const;

    ScopedSandbox sandbox;
    demoservice::DemoService service;

private:
    juce::int64 logStart = 0;
};

/** A loopback origin on which nothing listens. */
juce::String closedOrigin();
