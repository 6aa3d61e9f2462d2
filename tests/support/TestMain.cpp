#include "log/DiagnosticLog.h"
#include "platform/BrokenPipeSignal.h"
#include "support/DisplayErrors.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

int main (int argc, char** argv)
{
    // The demo service runs inside this process: a client that gives up
    // mid-answer must cost the server a failed write, not the whole run.
    BrokenPipeSignal::ignore();

    ::testing::InitGoogleTest (&argc, argv);

    // Nothing a test does may reach the real system folders.
    ScopedSandbox sandbox;

    // The log writers fix their file on first use. Fix it here, in the
    // process-wide sandbox, rather than inside whichever test's own sandbox
    // logs first and is deleted at its end.
    generalLogWriter().ensureCreated();
    updateLogWriter().ensureCreated();

    installQuietDisplayErrorHandler();
    juce::ScopedJuceInitialiser_GUI juce;

    return RUN_ALL_TESTS();
}
