#include "app/MainComponent.h"

#include "app/log/DiagnosticLog.h"
#include "app/settings/SettingsStore.h"

MainComponent::MainComponent()
{
    generalLogWriter().ensureCreated();
}

// The settings store saves any pending change as it is deleted.
MainComponent::~MainComponent() = default;

juce::Result MainComponent::initialize (const juce::String& token, const juce::String& version, const juce::String& build)
{
    writeLog ("MainComponent::initialize");

    auto dataFolder = ensureDataFolder();

    if (dataFolder.failed())
    {
        writeLog ("MainComponent::initialize failed <" + dataFolder.getErrorMessage() + ">");
        setSize (defaultWidth, defaultHeight);
        return dataFolder;
    }

    settings.reset();
    settings = createPropertiesFile (formatSettings);

    setSize (defaultWidth, defaultHeight);
    return juce::Result::ok();
}

void MainComponent::openWithEmailAndCode (const juce::String& email, const juce::String& code)
{
    writeLog ("openWithEmailAndCode, email = <" + email + ">, code = <" + code + ">");
}

void MainComponent::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (backgroundColour));

    if (! firstFramePainted)
    {
        firstFramePainted = true;
        writeLog ("extralog, first frame painted");
    }
}
