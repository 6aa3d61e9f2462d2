// The application object at quit: the link pipe goes first, then the main
// component (saving its settings) through the window that owns it, whatever
// is left of the window by then.

#include "app/MainComponent.h"
#include "app/VamretApplication.h"
#include "app/link/LinkPipeName.h"
#include "app/link/LinkPipeProtocol.h"
#include "platform/ExclusiveNameLock.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    /** JUCE lets only a standalone program (one with START_JUCE_APPLICATION)
        make an application object; the test binary poses as one meanwhile. */
    class ScopedStandaloneProgram
    {
    public:
        ScopedStandaloneProgram() : previous (juce::JUCEApplicationBase::createInstance)
        {
            juce::JUCEApplicationBase::createInstance = [] () -> juce::JUCEApplicationBase* { return nullptr; };
        }

        ~ScopedStandaloneProgram() { juce::JUCEApplicationBase::createInstance = previous; }

    private:
        juce::JUCEApplicationBase::CreateInstanceFunction previous;
    };

    bool linkPipeServed()
    {
        return ExclusiveNameLock::isTaken (LinkPipeProtocol::ownerLockName (linkPipeName()));
    }

    enum class BeforeQuit { noWindow, windowOpen, componentDeletedElsewhere };
}

TEST (VamretApplication, ShutdownClosesWhatIsLeftOfTheWindowAfterTheLinkPipe)
{
    if (! displayAvailable())
        GTEST_SKIP() << "no display";

    for (auto before : { BeforeQuit::noWindow, BeforeQuit::windowOpen, BeforeQuit::componentDeletedElsewhere })
    {
        SCOPED_TRACE ((int) before);
        ScopedSandbox sandbox;
        ScopedStandaloneProgram standalone;
        const auto windowsBefore = juce::Desktop::getInstance().getNumComponents();
        juce::File settingsFile;

        VamretApplication app;

        if (before != BeforeQuit::noWindow)
        {
            app.createMainWindow ({}, {}, {}, {});
            auto* component = app.getMainComponent();
            ASSERT_NE (component, nullptr);
            ASSERT_NE (component->getSettings(), nullptr);
            EXPECT_TRUE (pumpUntil (linkPipeServed));

            component->getSettings()->setValue ("email", "kept@example.com");
            settingsFile = component->getSettings()->getFile();

            if (before == BeforeQuit::componentDeletedElsewhere)
            {
                delete component;
                EXPECT_EQ (app.getMainComponent(), nullptr);

                // A link that arrives now finds no component and is dropped.
                app.anotherInstanceStarted ("vamrhelper://email=a@example.com&code=123456");
            }
        }

        app.shutdown();

        EXPECT_EQ (app.getMainComponent(), nullptr);
        EXPECT_FALSE (linkPipeServed());
        EXPECT_EQ (juce::Desktop::getInstance().getNumComponents(), windowsBefore);

        if (before != BeforeQuit::noWindow)
        {
            auto saved = juce::parseXML (settingsFile);
            ASSERT_NE (saved, nullptr);
            EXPECT_TRUE (saved->toString().contains ("kept@example.com"));
        }
    }
}
