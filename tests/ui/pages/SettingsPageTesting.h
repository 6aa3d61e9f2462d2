#pragma once

#include "ui/pages/SettingsPage.h"
#include "ui/pages/SettingsPageDelegate.h"

/** The main component's side of the settings page: records every call. */
struct RecordingSettingsDelegate : public SettingsPageDelegate
{
    void logoutPressed() override { ++logouts; }
    juce::String getToken() override { return token; }
    void wipePressed (const std::vector<ProductRow>& rows) override { wiped.push_back (rows); }
    void refreshPressed() override { ++refreshes; }
    std::vector<ProductRow> getProducts() override { return installed; }
    void settingsFinished (bool changed, bool useTestUrl, const juce::String& testUrl) override
    {
        finished.push_back ({ changed, useTestUrl, testUrl });
    }

    struct Finish
    {
        bool changed, useTestUrl;
        juce::String testUrl;
    };

    juce::String token;
    std::vector<ProductRow> installed;
    std::vector<std::vector<ProductRow>> wiped;
    std::vector<Finish> finished;
    int logouts = 0, refreshes = 0;
};
