#pragma once

#include "ui/look/Header.h"

#include <functional>

/** The base of the full-window pages: a header strip with the settings
    button, a busy spinner shown over the page while it waits, and a hook
    called once the page has really appeared on screen. */
class VRPage : public juce::Component
{
public:
    /** Twelve spokes around the centre whose brightness steps round once
        every 1.2 seconds. It draws only while its timer runs; the 16 ms
        timer just repaints, the pattern follows the clock. */
    class Spinner : public juce::Component,
                    public juce::Timer
    {
    public:
        Spinner() = default;

        /** Which spoke is how bright at a clock reading (ms): the alpha of
            spoke i, from 1/12 to 12/12 of the colour's alpha. */
        static juce::uint8 spokeAlpha (int spoke, juce::uint32 milliseconds, juce::uint8 colourAlpha = 255);

        /** Draws the spokes as they look at the given clock reading. */
        void paintAt (juce::Graphics&, juce::uint32 milliseconds);

        void paint (juce::Graphics&) override;
        void timerCallback() override;

        juce::Colour colour { 0xffffffff };
    };

    /** Runs its callback on every tick; the owner starts it and deletes it
        (usually from inside the callback) when it is no longer needed. */
    class VisibilityTimer : public juce::Timer
    {
    public:
        explicit VisibilityTimer (std::function<void()> callbackToRun);
        void timerCallback() override;

        std::function<void()> callback;
    };

    VRPage();
    ~VRPage() override;

    /** Called once the page is on screen. */
    virtual void pageShown();

    /** Shows the spinner in front of everything (restarting its timer) or
        removes it. */
    virtual void showSpinner (bool show);

    void resized() override;

    Spinner spinner;
    Header header;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (VRPage)
};
