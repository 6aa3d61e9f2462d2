#include "platform/Environment.h"

#include <cstdlib>

namespace Environment
{
    bool setVariable (const juce::String& name, const juce::String& value)
    {
        if (value.isEmpty())
            return unsetenv (name.toRawUTF8()) == 0;

        return setenv (name.toRawUTF8(), value.toRawUTF8(), 1) == 0;
    }
}
