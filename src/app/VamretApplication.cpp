#include "app/VamretApplication.h"

#include "app/DebugTrace.h"
#include "app/MainComponent.h"
#include "app/SignInLink.h"
#include "app/link/LinkHandOver.h"
#include "app/link/LinkPipeName.h"
#include "app/link/LinkPipeServer.h"
#include "log/DiagnosticLog.h"
#include "platform/BrokenPipeSignal.h"
#include "platform/RepaintFallback.h"
#include "platform/UrlSchemeRegistration.h"
#include "platform/WorkInFlight.h"
#include "update/AppUpdateDemoWorkerProcess.h"

#include <cstdio>

VamretApplication::VamretApplication()
{
    // Before any thread or child starts: a pipe or socket whose reader has
    // gone fails the write instead of ending the app.
    BrokenPipeSignal::ignore();
}

VamretApplication::~VamretApplication()
{
    linkPipeServer = nullptr;
    closeMainWindow();
}

MainComponent* VamretApplication::getMainComponent() const noexcept
{
    return mainWindow != nullptr ? mainWindow->getMainComponent() : nullptr;
}

void VamretApplication::closeMainWindow()
{
    // The component goes first, so its settings store saves while the window
    // still exists; the window owns it and deletes it here.
    if (mainWindow != nullptr)
        mainWindow->clearContentComponent();

    mainWindow = nullptr;
}

void VamretApplication::initialise (const juce::String& commandLine)
{
    std::printf ("VamretApplication initialise <%s>\n", commandLine.toRawUTF8());
    std::fflush (stdout);

    // Before any window exists: the first frame of each must not be its last.
    RepaintFallback::start();

    auto worker = std::make_unique<AppUpdateDemoWorkerProcess>();

    if (worker->initialiseFromCommandLine (commandLine, AppUpdateDemoWorkerProcess::uniqueID,
                                           AppUpdateDemoWorkerProcess::timeoutMs))
    {
        // Update worker: no window until the hand-over arrives. The worker is
        // deleted with the framework's other shut-down objects.
        worker.release();
        return;
    }

    worker = nullptr;

    // Several instances may run (the self-update needs that), so a link that
    // the browser opens starts a process of its own. Its link belongs to the
    // instance that is already running, if there is one.
    const auto link = signInLinkFromCommandLine (commandLine);

    if (link.has_value())
    {
        const auto handOver = handOverLink (linkPipeName(), *link);

        if (handOver.wasDelivered())
        {
            writeLog ("sign-in link handed over to the running instance <" + *link + ">");
            quit();
            return;
        }

        writeLog ("sign-in link kept by this instance (" + handOver.detail + ")");
    }

    if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
    {
        std::fprintf (stderr, "Vamrelund Helper: no display is available, so no window can be opened. "
                              "Start it from a desktop session (on Linux, with DISPLAY set).\n");
        setApplicationReturnValue (1);
        quit();
        return;
    }

    // Taken before the window is built: a link that arrives meanwhile waits
    // in the message queue and is handled once the main component exists.
    startLinkPipeServer();
    createMainWindow ({}, {}, {}, commandLine);

    if (mainWindow != nullptr && mainWindow->getStartResult().failed())
    {
        quitWithMessage (mainWindow->getStartResult().getErrorMessage());
        return;
    }

    // At every normal start, so links follow the copy started last. The update
    // worker never gets here: it registers at its next normal start.
    UrlSchemeRegistration::registerUrlScheme();

    // Nobody took the link: this process is the main instance and signs in with it.
    if (link.has_value())
        anotherInstanceStarted (*link);
}

void VamretApplication::createMainWindow (const juce::String& token, const juce::String& version,
                                          const juce::String& build, const juce::String& commandLine)
{
    closeMainWindow();
    mainWindow = std::make_unique<MainWindow> (getApplicationName(), token, version, build, commandLine);

    // Links are taken only by an instance that can use them; the update
    // worker gets here once the hand-over has given it its window.
    if (mainWindow->getStartResult().wasOk())
        startLinkPipeServer();
}

void VamretApplication::startLinkPipeServer()
{
    if (linkPipeServer != nullptr)
        return;

    // Links arrive on the message thread; the server is deleted before the
    // rest of the application, and it drops links still queued when it goes.
    linkPipeServer = std::make_unique<LinkPipeServer> (linkPipeName(), [this] (const juce::String& receivedLink)
                                                       {
                                                           anotherInstanceStarted (receivedLink);
                                                       });
}

void VamretApplication::quitWithMessage (const juce::String& message)
{
    // The window behind the message would be empty and useless, and links
    // must go to an instance that can use them.
    linkPipeServer = nullptr;
    closeMainWindow();

    setApplicationReturnValue (1);
    juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::WarningIcon,
                                            getApplicationName(),
                                            message + "\n\nVamrelund Helper cannot start without it and will quit.",
                                            "Quit", nullptr,
                                            juce::ModalCallbackFunction::create ([] (int) { quit(); }));
}

void VamretApplication::shutdown()
{
    // No more links from now on; a later instance can take the pipe.
    linkPipeServer = nullptr;

    // Every worker thread is asked to stop, and all of them together get one
    // bound; what is still running after it is logged and left to the
    // shut-down objects.
    for (const auto& name : WorkInFlight::stopAll (WorkInFlight::quitTimeoutMs))
        writeLog ("Quit: still running after " + juce::String (WorkInFlight::quitTimeoutMs) + " ms: " + name);

    closeMainWindow();
    RepaintFallback::stop();
}

void VamretApplication::anotherInstanceStarted (const juce::String& commandLine)
{
    dumpCommandeLineForDebug ("(anotherInstanceStarted) " + commandLine);
    const auto decoded = juce::URL::removeEscapeChars (commandLine);
    dumpCommandeLineForDebug ("(decoded) " + decoded);

    auto* mainComponent = getMainComponent();

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
                                           const juce::String& commandLine)
    : DocumentWindow (name,
                      juce::Desktop::getInstance().getDefaultLookAndFeel()
                          .findColour (juce::ResizableWindow::backgroundColourId),
                      DocumentWindow::allButtons, false)
{
    // Switching to the native title bar on a window that is already on the
    // desktop recreates it and brings it to the front, which maps an empty,
    // frozen window for as long as the start's token check takes. Joining
    // the desktop afterwards keeps the window hidden until it is made visible.
    setUsingNativeTitleBar (true);
    addToDesktop (getDesktopWindowStyleFlags());

    auto component = std::make_unique<MainComponent>();
    startResult = component->initialize (token, version, build);
    dumpCommandeLineForDebug (commandLine);

    mainComponent = component.get();
    setContentOwned (component.release(), true);
    setResizeLimits (minWidth, minHeight, maxWidth, maxHeight);
    setResizable (true, true);
    centreWithSize (getWidth(), getHeight());

    if (startResult.wasOk())
        setVisible (true);
}

MainComponent* VamretApplication::MainWindow::getMainComponent() const noexcept
{
    return mainComponent.getComponent();
}

void VamretApplication::MainWindow::closeButtonPressed()
{
    juce::JUCEApplication::getInstance()->systemRequestedQuit();
}
