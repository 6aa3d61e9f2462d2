#pragma once

#include "localstate/FormatSettings.h"

/** What the products page and its cells ask of the main component: the
    signed-in account, the format settings, recording an installed build,
    a list refresh and the self-update hand-over. Message thread only. */
class CellDelegate
{
public:
    virtual ~CellDelegate() = default;

    virtual juce::String getToken() = 0;
    virtual juce::String getEmail() = 0;
    virtual FormatSettings getFormatSettings() = 0;
    virtual void setLocalBuild (const juce::String& name, const juce::String& appName, const juce::String& build) = 0;
    virtual void refreshPressed() = 0;
    virtual void startChildProcesses (const juce::String& version, const juce::String& build) = 0;
    virtual void sendToken (const juce::String& token) = 0;
};
