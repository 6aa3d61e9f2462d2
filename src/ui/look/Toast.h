#pragma once

#include "ui/look/MyToggleButton.h"

#include <functional>
#include <memory>

/** The green message box shown over a page.

    A toast without buttons fades out during its fourth second and deletes
    itself; a toast with buttons (a dialog) stays until one is pressed, passes
    the result to onResult and deletes itself. The component is larger than
    the box it draws: the box sits at (90, 90) inside a margin that holds the
    drop shadow.

    Only one toast at a time draws the shadow: the first toast made while no
    other had claimed it (toastShowing). Whichever toast ends next releases
    the claim.

    A toast also ends when its parent is deleted, so nothing outlives the
    page it was shown on. Message thread only. */
class Toast : public juce::Component,
              public juce::Timer,
              private juce::ComponentListener
{
public:
    Toast (const juce::String& title, const juce::String& message,
           const juce::String& button1Text, const juce::String& button2Text);

    Toast (const juce::String& title, const juce::String& message,
           const juce::String& button1Text, const juce::String& button2Text,
           int boxWidth, int boxHeight);

    ~Toast() override;

    /** An auto-dismissing toast over the parent. */
    static void showMessage (const juce::String& title, const juce::String& message, juce::Component* parent);

    /** A dialog over the parent, behind which a transparent backdrop takes
        every click on the page. Returns the toast so that the caller can set
        onResult; nullptr when there is no parent. */
    static Toast* showDialog (const juce::String& title, const juce::String& message,
                              const juce::String& button1Text, const juce::String& button2Text,
                              juce::Component* parent);

    static Toast* showDialog (const juce::String& title, const juce::String& message,
                              const juce::String& button1Text, const juce::String& button2Text,
                              int boxWidth, int boxHeight, juce::Component* parent);

    /** The terms dialog: the terms page's address as an underlined link, a
        "Yes, I accept" switch and a "DONE" button. Its result is 1 when the
        switch was on, 2 otherwise. */
    static Toast* showTermsDialog (juce::Component* parent);

    /** Adds the switch whose state decides button 2's result. */
    void addAcceptToggle (const juce::String& text);

    /** The toast's bounds for a parent (or monitor) size: the box centred. */
    juce::Rectangle<int> placementFor (int parentWidth, int parentHeight) const;

    /** Moves the toast to the centre of its parent (or of the main display). */
    void place();

    /** The result button 2 gives: 1 with the accept switch on, else 2. */
    int button2Result() const;

    /** The message's font: SemiBold 19.5 for short messages, Light at
        textHeight from 50 characters on. */
    juce::Font messageFont() const;

    /** The component alpha after a number of ticks of the fade. */
    static float fadeAlpha (int tickCount, int framesPerSecond);

    /** True for a press on the terms link (toast coordinates). */
    static bool isInTermsLink (juce::Point<int> position);

    void paint (juce::Graphics&) override;
    void mouseDown (const juce::MouseEvent&) override;

    /** One animation tick (30 a second): counts, fades, ends after four seconds. */
    void timerCallback() override;

    /** Whether some toast has claimed the drop shadow. */
    static bool toastShowing;

    juce::String title, message;
    int boxWidth = 270, boxHeight = 140;
    int framesPerSecond = 30;
    int tickCount = 0;
    bool autoDismiss = false;
    float textHeight = 14.0f;
    bool showTermsLink = false;
    juce::ToggleButton* acceptToggle = nullptr;
    int shadowMargin = 60, innerMargin = 30;
    bool drawShadow = false;
    std::unique_ptr<MyToggleButton> button1, button2;
    juce::Component backdrop;
    std::function<void (int)> onResult;

private:
    void setUp (const juce::String& button1Text, const juce::String& button2Text);
    void finish (int result);
    void watchParent (juce::Component* parent);

    void componentBeingDeleted (juce::Component&) override;
    void componentMovedOrResized (juce::Component&, bool wasMoved, bool wasResized) override;

    std::unique_ptr<juce::ToggleButton> ownedAcceptToggle;
    juce::Component::SafePointer<juce::Component> watchedParent;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Toast)
};
