#include "localstate/PlainFileName.h"

bool isPlainFileName (const juce::String& name)
{
    return name.isNotEmpty()
        && name != "." && name != ".."
        && ! name.containsAnyOf ("/\\:");
}

juce::String plainFileNameFrom (const juce::String& name)
{
    juce::String plain;

    for (auto c : name)
        plain += (c < 0x20 || c == 0x7f || juce::String ("/\\:<>\"|?*").containsChar (c))
                     ? juce::juce_wchar ('_') : c;

    return isPlainFileName (plain) ? plain : juce::String ("_");
}
