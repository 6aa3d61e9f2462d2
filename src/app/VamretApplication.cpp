#include "app/VamretApplication.h"

#include "app/DebugTrace.h"
#include "app/MainComponent.h"
#include "app/SignInLink.h"
#include "update/AppUpdateDemoWorkerProcess.h"

#include <cstdio>

VamretApplication::VamretApplication() = default;

VamretApplication::~VamretApplication()
{
    mainWindow = nullptr;
}

void VamretApplication::initialise (const juce::String& commandLine)
{
    std::printf ("VamretApplication initialise <%s>\n", commandLine.toRawUTF8());
    std::fflush (stdout);

    auto worker = std::make_unique<AppUpdateDemoWorkerProcess> (*this);

    if (worker->initialiseFromCommandLine (commandLine, AppUpdateDemoWorkerProcess::uniqueID,
                                           AppUpdateDemoWorkerProcess::timeoutMs))
    {
        // Update worker: no window until the hand-over arrives. The worker is
        // deleted with the framework's other shut-down objects.
        worker.release();
        return;
    }

    worker = nullptr;

    if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
    {
        std::fprintf (stderr, "Vamrelund Helper: no display is available, so no window can be opened. "
                              "Start it from a desktop session (on Linux, with DISPLAY set).\n");
        setApplicationReturnValue (1);
        quit();
        return;
    }

    createMainWindow ({}, {}, {}, commandLine);

    if (mainWindow != nullptr && mainWindow->getStartResult().failed())
        quitWithMessage (mainWindow->getStartResult().getErrorMessage());
}

void VamretApplication::createMainWindow (const juce::String& token, const juce::String& version,
                                          const juce::String& build, const juce::String& commandLine)
{
    mainWindow = nullptr;
    mainComponent = nullptr;
    mainWindow = std::make_unique<MainWindow> (getApplicationName(), token, version, build,
                                               commandLine, mainComponent);
}

void VamretApplication::quitWithMessage (const juce::String& message)
{
    // The window behind the message would be empty and useless.
    delete mainComponent;
    mainComponent = nullptr;
    mainWindow = nullptr;

    setApplicationReturnValue (1);
    juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::WarningIcon,
                                            getApplicationName(),
                                            message + "\n\nVamrelund Helper cannot start without it and will quit.",
                                            "Quit", nullptr,
                                            juce::ModalCallbackFunction::create ([] (int) { quit(); }));
}

void VamretApplication::shutdown()
{
    // The component goes first, so its settings store saves while the window
    // still exists; the window then finds its content already gone.
    delete mainComponent;
    mainComponent = nullptr;
    mainWindow = nullptr;
}

void VamretApplication::anotherInstanceStarted (const juce::String& commandLine)
{
    dumpCommandeLineForDebug ("(anotherInstanceStarted) " + commandLine);
    const auto decoded = juce::URL::removeEscapeChars (commandLine);
    dumpCommandeLineForDebug ("(decoded) " + decoded);

    if (mainComponent == nullptr)
        return;

    if (auto link = parseSignInLink (decoded))
        mainComponent->openWithEmailAndCode (link->email, link->code);
}

void VamretApplication::systemRequestedQuit()
{
    quit();
}

//==============================================================================
VamretApplication::MainWindow::MainWindow (const juce::String& name, const juce::String& token,
                                           const juce::String& version, const juce::String& build,
                                           const juce::String& commandLine,
                                           MainComponent*& mainComponentSlot)
    : DocumentWindow (name,
                      juce::Desktop::getInstance().getDefaultLookAndFeel()
                          .findColour (juce::ResizableWindow::backgroundColourId),
                      DocumentWindow::allButtons)
{
    setUsingNativeTitleBar (true);

    auto* component = new MainComponent();
    mainComponentSlot = component;
    startResult = component->initialize (token, version, build);
    dumpCommandeLineForDebug (commandLine);

    setContentOwned (component, true);
    setResizeLimits (minWidth, minHeight, maxWidth, maxHeight);
    setResizable (true, true);
    centreWithSize (getWidth(), getHeight());

    if (startResult.wasOk())
        setVisible (true);
}

void VamretApplication::MainWindow::closeButtonPressed()
{
    juce::JUCEApplication::getInstance()->systemRequestedQuit();
}
