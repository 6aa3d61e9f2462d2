#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The dark panel a right click on a product cell opens over the products
    page: "Release notes" above the product's notes, whose "#" headings show
    in larger type. The page owns it and closes it. */
class ReleaseNotesComponent final : public juce::Component
{
public:
    explicit ReleaseNotesComponent (const juce::String& text);

    void paint (juce::Graphics&) override;

    /** True once the notes are in the editor. That happens on the message
        thread after construction, once the page has added the panel. */
    bool isLaidOut() const noexcept { return laidOut; }

    const juce::Colour backgroundColour { 0xff31414c };
    const juce::Colour textColour { 0xffd0d0d0 };

    juce::TextEditor editor;
    juce::Label heading;

private:
    void layOutText();

    juce::String notes;
    bool laidOut = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ReleaseNotesComponent)
};
