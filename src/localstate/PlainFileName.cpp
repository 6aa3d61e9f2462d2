#include "localstate/PlainFileName.h"

bool isPlainFileName (const juce::String& name)
{
    return name.isNotEmpty()
        && name != "." && name != ".."
        && ! name.containsAnyOf ("/\\:");
}
