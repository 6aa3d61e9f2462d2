#pragma once

#include "ui/pages/CellDelegate.h"
#include "cloud/Product.h"
#include "localstate/ProductRow.h"
#include "ui/pages/ProductsPage.h"

#include <array>

/** The main component's side of the page, as far as the page asks for it. */
struct TestCellDelegate : public CellDelegate
{
    juce::String getToken() override { return token; }
    juce::String getEmail() override { return email; }
    FormatSettings getFormatSettings() override { return settings; }
    void setLocalBuild (const juce::String& name, const juce::String& appName, const juce::String& build) override
    {
        localBuilds.add (name + "|" + appName + "|" + build);
    }
    void refreshPressed() override { ++refreshes; }
    void startChildProcesses (const juce::String&, const juce::String&) override {}
    void sendToken (const juce::String&) override {}

    juce::String token, email { "demo@example.com" };
    FormatSettings settings;
    int refreshes = 0;
    juce::StringArray localBuilds;   // "title|local key|build" per call
};

/** The demo catalogue as the signed-in account sees it (pumps the message loop). */
std::vector<VRCloud::Product> fetchCatalogue (const juce::String& token);

/** Format settings as a fresh settings file gives them (inside the sandbox). */
FormatSettings defaultFormatSettings();

/** A catalogue product with the usual fields; formats as lower-case labels. */
VRCloud::Product makeProduct (const juce::String& title, const juce::String& category,
                              const juce::String& version, juce::StringArray formats,
                              const juce::String& buildGroup = "public");

/** Writes a PE plugin file with that version for a format of the product. */
void installFormat (const VRCloud::Product& product, PluginFormat format,
                    std::array<std::uint16_t, 4> version, const FormatSettings& settings);

/** The row list preparation makes, with versions read from disk. */
ProductRow rowFor (VRCloud::Product product, const FormatSettings& settings);

/** Fills the page with rows, builds the cells and lays the page out at 820 x 600. */
void showRows (ProductsPage& page, const std::vector<ProductRow>& rows);

/** The visible cell of a product, or null. */
ProductsPage::Cell* cellNamed (ProductsPage& page, const juce::String& name);
