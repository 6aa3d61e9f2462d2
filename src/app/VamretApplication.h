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

    /** The main window's component; null without a window or once it is gone. */
    MainComponent* getMainComponent() const noexcept;

private:
    void quitWithMessage (const juce::String& message);
    void startLinkPipeServer();
    void closeMainWindow();

    std::unique_ptr<MainWindow> mainWindow;

    // Declared last so it goes first: no link reaches a half-destroyed application.
    std::unique_ptr<LinkPipeServer> linkPipeServer;
};

class VamretApplication::MainWindow : public juce::DocumentWindow
{
public:
    static constexpr int minWidth = 820, minHeight = 450, maxWidth = 3000, maxHeight = 3000;

    /** Makes the main component, starts it and owns it as the content. */
    MainWindow (const juce::String& name, const juce::String& token, const juce::String& version,
                const juce::String& build, const juce::String& commandLine);

    void closeButtonPressed() override;

    /** How the main component's start went. */
    const juce::Result& getStartResult() const noexcept { return startResult; }

    /** The content; null once the window has cleared or replaced it. */
    MainComponent* getMainComponent() const noexcept;

private:
    juce::Result startResult { juce::Result::ok() };

    // The window owns the component; this only watches it.
    juce::Component::SafePointer<MainComponent> mainComponent;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainWindow)
};
