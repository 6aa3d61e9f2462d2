#include "install/ProductNameAliases.h"

namespace ProductNameAliases
{
    juce::String downloadRequestName (const juce::String& localKeyName)
    {
        if (localKeyName == juce::CharPointer_UTF8 ("S\xc3\xb8lvkant"))
            return "s0lvkant";

        if (localKeyName == "Fjellvind" || localKeyName == "Fjellvind2")
            return "fjellvind";

        return localKeyName;
    }

    juce::String displayName (const juce::String& title)
    {
        if (title == juce::CharPointer_UTF8 ("S\xc3\xb8lvkant"))
            return "s0lvkant";

        return title;
    }
}
