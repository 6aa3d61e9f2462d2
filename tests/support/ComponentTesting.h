#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A mouse event at a position inside a component, for calling its mouse
    handlers directly; a left click unless other buttons are given. */
juce::MouseEvent mouseEventAt (juce::Component& component, juce::Point<int> position,
                               juce::ModifierKeys buttons = juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier));

/** Paints the component and its children into a fresh transparent image of
    its size. With ignoreAlpha the component's own alpha is not applied. */
juce::Image paintToImage (juce::Component& component, bool ignoreAlpha = true);

/** Paints onto an opaque background of the given colour. */
juce::Image paintOnBackground (juce::Component& component, juce::Colour background);

/** True when the two colours differ by at most the tolerance per channel. */
bool coloursClose (juce::Colour a, juce::Colour b, int tolerance = 2);

/** The largest alpha found in an area of the image. */
int maximumAlpha (const juce::Image& image, juce::Rectangle<int> area);

/** Counts the pixels in an area for which the predicate holds. */
int countPixels (const juce::Image& image, juce::Rectangle<int> area, std::function<bool (juce::Colour)> predicate);

/** Keeps a screenshot as "<name>.png" in a "screenshots" folder beside the
    test program, for a person to look at; returns the file. */
juce::File saveScreenshot (const juce::Image& image, const juce::String& name);

/** A click on the button, handled before this returns (triggerClick only
    posts it). */
void clickNow (juce::Button& button);
