#include "support/DisplayErrors.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

    // Nothing a test does may reach the real system folders.
    ScopedSandbox sandbox;

    installQuietDisplayErrorHandler();
    juce::ScopedJuceInitialiser_GUI juce;

    return RUN_ALL_TESTS();
}
