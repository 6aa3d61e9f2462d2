#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class LinkPipeServer;
class MainComponent;

class VamretApplication : public juce::JUCEApplication
{
public:
    class MainWindow;

    VamretApplication();
    ~VamretApplication() override;

    // Both come from the build (CMakeLists.txt), like the executable's version resource.
    const juce::String getApplicationName() override     { return JUCE_APPLICATION_NAME_STRING; }
    const juce::String getApplicationVersion() override  { return VAMRHELPER_VERSION_STRING; }
    bool moreThanOneInstanceAllowed() override           { return true; }

    void initialise (const juce::String& commandLine) override;
    void shutdown() override;
    void anotherInstanceStarted (const juce::String& commandLine) override;
    void systemRequestedQuit() override;

    /** Makes (or replaces) the main window. Used at a normal start and by the
        update worker once the hand-over has arrived. */
    void createMainWindow (const juce::String& token, const juce::String& version,
                           const juce::String& build, const juce::String& commandLine);

    MainComponent* getMainComponent() const noexcept { return mainComponent; }

private:
    void quitWithMessage (const juce::String& message);
    void startLinkPipeServer();

    std::unique_ptr<MainWindow> mainWindow;
    MainComponent* mainComponent = nullptr;

    // Declared last so it goes first: no link reaches a half-destroyed application.
    std::unique_ptr<LinkPipeServer> linkPipeServer;
};

class VamretApplication::MainWindow : public juce::DocumentWindow
{
public:
    static constexpr int minWidth = 820, minHeight = 450, maxWidth = 3000, maxHeight = 3000;

    MainWindow (const juce::String& name, const juce::String& token, const juce::String& version,
                const juce::String& build, const juce::String& commandLine,
                MainComponent*& mainComponentSlot);

    void closeButtonPressed() override;

    /** How the main component's start went. */
    const juce::Result& getStartResult() const noexcept { return startResult; }

private:
    juce::Result startResult { juce::Result::ok() };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindow)
};
