#pragma once

#include "localstate/ProductRow.h"

#include <vector>

/** What the settings page asks of the main component: signing out, the
    token, removing installed products, a list refresh, the installed rows
    and the end of an editing session. Message thread only. */
class SettingsPageDelegate
{
public:
    virtual ~SettingsPageDelegate() = default;

    virtual void logoutPressed() = 0;
    virtual juce::String getToken() = 0;
    virtual void wipePressed (const std::vector<ProductRow>& products) = 0;
    virtual void refreshPressed() = 0;
    virtual std::vector<ProductRow> getProducts() = 0;
    virtual void settingsFinished (bool changed, bool useTestUrl, const juce::String& testUrl) = 0;
};
