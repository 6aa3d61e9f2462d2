#include "app/MainComponent.h"
#include "app/VamretApplication.h"
#include "log/DiagnosticLog.h"
#include "platform/Locations.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

TEST (MainComponent, StartsTheStoreSizesAndPaintsWithoutAWindow)
{
    ScopedSandbox sandbox;
    MainComponent component;
    ASSERT_TRUE (component.initialize ({}, {}, {}).wasOk());

    EXPECT_EQ (component.getWidth(), 820);
    EXPECT_EQ (component.getHeight(), 600);
    EXPECT_TRUE (Locations::dataFolder().isDirectory());
    ASSERT_NE (component.getSettings(), nullptr);

    juce::Image image (juce::Image::ARGB, 820, 600, true);
    {
        juce::Graphics g (image);
        component.paintEntireComponent (g, false);
    }

    // The login page paints no background of its own: the corners show the component.
    for (auto [x, y] : { std::pair { 0, 0 }, { 0, 599 }, { 819, 599 } })
        EXPECT_EQ (image.getPixelAt (x, y).getARGB(), 0xFFF1F3F5u) << x << "," << y;

    juce::MemoryBlock log;
    generalLogWriter().getFile().loadFileAsData (log);
    EXPECT_TRUE (log.toString().contains (" MainComponent::initialize\r\n"));
}

TEST (MainComponent, SettingsChangesAreSavedWhenItIsDeleted)
{
    ScopedSandbox sandbox;
    juce::File settingsFile;

    {
        MainComponent component;
        ASSERT_TRUE (component.initialize ({}, {}, {}).wasOk());
        component.getSettings()->setValue ("email", "kept@example.com");
        settingsFile = component.getSettings()->getFile();
    }

    auto xml = juce::parseXML (settingsFile);
    ASSERT_NE (xml, nullptr);
    EXPECT_TRUE (xml->toString().contains ("kept@example.com"));
}

TEST (MainComponent, BlockedDataFolderFailsTheStartWithItsName)
{
    ScopedSandbox sandbox;
    sandbox.root().getChildFile ("ProgramData").replaceWithText ("blocked");

    MainComponent component;
    const auto result = component.initialize ({}, {}, {});
    EXPECT_TRUE (result.failed());
    EXPECT_TRUE (result.getErrorMessage().contains (Locations::dataFolder().getFullPathName()));
    EXPECT_EQ (component.getSettings(), nullptr);
}

TEST (MainWindow, OpensCentredAt820By600WithItsLimits)
{
    if (! displayAvailable())
        GTEST_SKIP() << "no display";

    ScopedSandbox sandbox;

    {
        VamretApplication::MainWindow window ("Vamrelund Helper", {}, {}, {}, {});
        auto* component = window.getMainComponent();

        ASSERT_TRUE (window.getStartResult().wasOk());
        ASSERT_NE (component, nullptr);
        EXPECT_EQ (window.getContentComponent(), component);
        EXPECT_EQ (window.getName(), "Vamrelund Helper");
        EXPECT_TRUE (window.isUsingNativeTitleBar());
        EXPECT_TRUE (window.isVisible());
        EXPECT_TRUE (window.isOnDesktop());
        EXPECT_TRUE (window.isResizable());
        EXPECT_EQ (component->getWidth(), 820);
        EXPECT_EQ (component->getHeight(), 600);

        auto* limits = window.getConstrainer();
        ASSERT_NE (limits, nullptr);
        EXPECT_EQ (limits->getMinimumWidth(), 820);
        EXPECT_EQ (limits->getMinimumHeight(), 450);
        EXPECT_EQ (limits->getMaximumWidth(), 3000);
        EXPECT_EQ (limits->getMaximumHeight(), 3000);

        // Centred on its display.
        auto* display = juce::Desktop::getInstance().getDisplays().getDisplayForRect (window.getScreenBounds());
        ASSERT_NE (display, nullptr);
        const auto centre = display->userArea.getCentre();
        EXPECT_NEAR (window.getScreenBounds().getCentreX(), centre.x, 2);
        EXPECT_NEAR (window.getScreenBounds().getCentreY(), centre.y, 2);

        // A user's resize below the limits is held at them. The limits bound
        // the whole window, native frame included (on Windows the frame is
        // part of what the user drags; on a bare X server it is empty).
        ASSERT_NE (window.getPeer(), nullptr);
        const auto knownFrame = window.getPeer()->getFrameSizeIfPresent();
        const auto frame = knownFrame ? *knownFrame : juce::BorderSize<int>();
        limits->setBoundsForComponent (&window, window.getBounds().withSize (500, 300), false, false, true, true);
        EXPECT_GE (window.getWidth() + frame.getLeftAndRight(), 820);
        EXPECT_GE (window.getHeight() + frame.getTopAndBottom(), 450);

        // The app clears the component through the window before closing
        // it: the window owns it, so clearing deletes it.
        juce::Component::SafePointer<MainComponent> watched (component);
        window.clearContentComponent();
        EXPECT_EQ (watched.getComponent(), nullptr);
        EXPECT_EQ (window.getContentComponent(), nullptr);
        EXPECT_EQ (window.getMainComponent(), nullptr);
    }
}
