#include "platform/LocalPipe.h"

namespace LocalPipe
{
    juce::String address (const juce::String& name)
    {
        return name;
    }
}
