#pragma once

#include "localstate/FormatSettings.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The content of the main window: owns the settings store and ties the
    pages, the account and the requests together. */
class MainComponent : public juce::Component
{
public:
    static constexpr juce::uint32 backgroundColour = 0xFFF1F3F5;
    static constexpr int defaultWidth = 820;
    static constexpr int defaultHeight = 600;

    MainComponent();
    ~MainComponent() override;

    /** Runs the start. Token, version and build are empty at a normal start
        and carry the hand-over values after a self-update. Fails only when the
        data folder cannot be created; the result then says which and why. */
    juce::Result initialize (const juce::String& token, const juce::String& version, const juce::String& build);

    /** The address and code of a browser sign-in link. */
    void openWithEmailAndCode (const juce::String& email, const juce::String& code);

    juce::PropertiesFile* getSettings() const noexcept { return settings.get(); }

    /** The plugin-format folders and switches in use, loaded with the settings file. */
    const FormatSettings& getFormatSettings() const noexcept { return formatSettings; }

    void paint (juce::Graphics& g) override;

private:
    std::unique_ptr<juce::PropertiesFile> settings;
    FormatSettings formatSettings;
    bool firstFramePainted = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainComponent)
};
