#include "ui/look/AnimatedLabel.h"

juce::String AnimatedLabel::activityText (int count, int dotCount)
{
    juce::String text ("Installing ");
    text << (count == 1 ? juce::String ("product") : juce::String (count) + " products");
    return text + juce::String::repeatedString (".", juce::jmax (0, dotCount));
}

void AnimatedLabel::timerCallback()
{
    dots = (dots + 1 == 4) ? 0 : dots + 1;
    setText (activityText (activeCount, dots), juce::dontSendNotification);
    repaint();
}
