#include "support/DemoServiceFixture.h"

juce::String closedOrigin()
{
    demoservice::DemoService probe;
    probe.start (0);
    const auto origin = probe.origin();
    probe.stop();
    return origin;
}
