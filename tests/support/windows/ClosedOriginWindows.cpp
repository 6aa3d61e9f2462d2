#include "support/DemoServiceFixture.h"

// A DemoService here is the shared native one and never closes; a port bound
// and let go again is one nothing listens on.
juce::String closedOrigin()
{
    juce::StreamingSocket probe;
    probe.createListener (0, "127.0.0.1");
    const auto port = probe.getBoundPort();
    probe.close();
    return "http://127.0.0.1:" + juce::String (port);
}
