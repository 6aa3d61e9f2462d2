#include "support/AppProcess.h"

juce::File AppProcess::executable()
{
    return juce::File::getSpecialLocation (juce::File::currentExecutableFile)
               .getParentDirectory()
               .getChildFile (VAMRHELPER_APP_FROM_TESTS);
}

bool AppProcess::start (const juce::String& link)
{
    // Windows runs the registered open command: "%1" in double quotes.
    return launch (link, true);
}

bool AppProcess::startAsUpdateWorker (const juce::String& coordinatorPipe)
{
    // The argument JUCE's ChildProcessCoordinator gives for the ID "demoUID".
    return launch ("--demoUID:" + coordinatorPipe, false);
}
