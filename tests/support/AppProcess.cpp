#include "support/AppProcess.h"

juce::File AppProcess::executable()
{
    return juce::File::getSpecialLocation (juce::File::currentExecutableFile)
               .getParentDirectory()
               .getChildFile (VAMRHELPER_APP_FROM_TESTS);
}
