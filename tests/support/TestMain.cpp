#include "app/log/DiagnosticLog.h"
#include "support/DisplayErrors.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

int main (int argc, char** argv)
{
    ::testing::InitGoogleTest (&argc, argv);

    // Nothing a test does may reach the real system folders.
    ScopedSandbox sandbox;

    // The general log writer binds to its file at first use: bind it to the
    // process-wide sandbox, not to whichever test's sandbox comes first.
    generalLogWriter().ensureCreated();
    updateLogWriter().ensureCreated();

    installQuietDisplayErrorHandler();
    juce::ScopedJuceInitialiser_GUI juce;

    return RUN_ALL_TESTS();
}
