#include "ui/views/ReleaseNotesComponent.h"

#include "ui/look/AppFonts.h"
#include "ui/views/ReleaseNotesLayout.h"

ReleaseNotesComponent::ReleaseNotesComponent (const juce::String& text)
    : notes (text)
{
    using namespace ReleaseNotesLayout;

    heading.setText ("Release notes", juce::dontSendNotification);
    heading.setFont (appFont (AppFontStyle::semiBold, 19.0f));
    heading.setColour (juce::Label::textColourId, textColour);
    heading.setJustificationType (juce::Justification::left);
    heading.setBounds (12, 8, panelWidth - 24, 20);
    addAndMakeVisible (heading);

    editor.setBounds (10, 38, 280, 300);

    // Laid out once the page holds the panel; a panel closed before then
    // is gone and nothing runs.
    juce::Component::SafePointer<ReleaseNotesComponent> self (this);
    juce::MessageManager::callAsync ([self]
    {
        if (auto* panel = self.getComponent())
            panel->layOutText();
    });
}

void ReleaseNotesComponent::layOutText()
{
    editor.setMultiLine (true, true);
    editor.setReadOnly (true);
    editor.setColour (juce::ScrollBar::thumbColourId, juce::Colour (0xff808080));
    editor.setColour (juce::TextEditor::outlineColourId, juce::Colour (0));
    editor.setColour (juce::TextEditor::focusedOutlineColourId, juce::Colour (0));
    editor.setColour (juce::TextEditor::textColourId, textColour);
    editor.setColour (juce::TextEditor::backgroundColourId, backgroundColour);
    addAndMakeVisible (editor);
    editor.clear();

    for (const auto& run : ReleaseNotesLayout::runsFor (notes))
    {
        editor.setFont (appFont (AppFontStyle::regular, run.height));
        editor.insertTextAtCaret (run.text);
        editor.moveCaretToEnd();
    }

    editor.moveCaretToTop (false);
    laidOut = true;
}

void ReleaseNotesComponent::paint (juce::Graphics& g)
{
    g.setColour (backgroundColour);
    g.fillRoundedRectangle (getLocalBounds().toFloat(), 5.0f);
}
