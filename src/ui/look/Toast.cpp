#include "ui/look/Toast.h"

#include "cloud/WebPages.h"
#include "ui/look/WebPageOpener.h"
#include "ui/look/AppFonts.h"

bool Toast::toastShowing = false;

namespace
{
    const juce::Colour boxColour (0xff4bbf49);
    const juce::Colour darkColour (0xff091c2a);
    const juce::Colour linkColour (0xffdfe6e9);

    std::unique_ptr<MyToggleButton> makeToastButton (const juce::String& text)
    {
        auto button = std::make_unique<MyToggleButton> (text);
        button->makeFilled (text, darkColour, juce::Colours::white);
        return button;
    }
}

Toast::Toast (const juce::String& titleText, const juce::String& messageText,
              const juce::String& button1Text, const juce::String& button2Text)
    : title (titleText), message (messageText)
{
    if (button1Text.isNotEmpty() || button2Text.isNotEmpty())
        boxHeight = 170;

    setUp (button1Text, button2Text);
}

Toast::Toast (const juce::String& titleText, const juce::String& messageText,
              const juce::String& button1Text, const juce::String& button2Text,
              int width, int height)
    : title (titleText), message (messageText), boxWidth (width), boxHeight (height)
{
    setUp (button1Text, button2Text);
}

void Toast::setUp (const juce::String& button1Text, const juce::String& button2Text)
{
    if (! toastShowing)
    {
        toastShowing = true;
        drawShadow = true;
    }

    autoDismiss = button1Text.isEmpty() && button2Text.isEmpty();

    if (autoDismiss)
        return;

    if (button1Text.isNotEmpty())
    {
        button1 = makeToastButton (button1Text);

        if (button2Text.isNotEmpty())
            button1->setBounds (112, boxHeight + 50, 56, 24);
        else
            button1->setBounds (90 + (boxWidth - 86) / 2, boxHeight + 48, 86, 24);

        addAndMakeVisible (*button1);
        button1->onClick = [this] { finish (1); };
    }

    if (button2Text.isNotEmpty())
    {
        button2 = makeToastButton (button2Text);
        button2->setBounds (boxWidth + 12, boxHeight + 50, 56, 24);
        addAndMakeVisible (*button2);
        button2->onClick = [this] { finish (button2Result()); };
    }
}

Toast::~Toast()
{
    // Whichever toast ends releases the shadow for the next one.
    toastShowing = false;
    stopTimer();

    if (watchedParent != nullptr)
        watchedParent->removeComponentListener (this);
}

void Toast::finish (int result)
{
    // The result goes out before the toast goes away. The callback may
    // delete the parent, which ends this toast too, so check before deleting.
    juce::Component::SafePointer<Toast> self (this);
    auto callback = std::move (onResult);

    if (callback)
        callback (result);

    if (self != nullptr)
        delete this;
}

int Toast::button2Result() const
{
    return (acceptToggle != nullptr && acceptToggle->getToggleState()) ? 1 : 2;
}

void Toast::addAcceptToggle (const juce::String& text)
{
    ownedAcceptToggle = std::make_unique<juce::ToggleButton> (text);
    acceptToggle = ownedAcceptToggle.get();
    acceptToggle->setClickingTogglesState (true);
    acceptToggle->setBounds (123, 249, 150, 25);
    acceptToggle->setColour (juce::ToggleButton::textColourId, juce::Colour (0xffdfe6e9));
    addAndMakeVisible (*acceptToggle);
}

//==============================================================================
void Toast::showMessage (const juce::String& titleText, const juce::String& messageText, juce::Component* parent)
{
    if (parent == nullptr)
        return;

    auto* toast = new Toast (titleText, messageText, {}, {});
    parent->addAndMakeVisible (toast, 100);
    toast->watchParent (parent);
    toast->place();

    if (toast->framesPerSecond >= 1)
        toast->startTimer (1000 / toast->framesPerSecond);
    else
        toast->stopTimer();

    toast->setInterceptsMouseClicks (false, false);
}

Toast* Toast::showDialog (const juce::String& titleText, const juce::String& messageText,
                          const juce::String& button1Text, const juce::String& button2Text,
                          juce::Component* parent)
{
    if (parent == nullptr)
        return nullptr;

    return showDialog (titleText, messageText, button1Text, button2Text,
                       270, (button1Text.isNotEmpty() || button2Text.isNotEmpty()) ? 170 : 140, parent);
}

Toast* Toast::showDialog (const juce::String& titleText, const juce::String& messageText,
                          const juce::String& button1Text, const juce::String& button2Text,
                          int width, int height, juce::Component* parent)
{
    if (parent == nullptr)
        return nullptr;

    auto* toast = new Toast (titleText, messageText, button1Text, button2Text, width, height);

    toast->backdrop.setBounds (0, 0, parent->getWidth(), parent->getHeight());
    parent->addAndMakeVisible (toast->backdrop, 99);
    parent->addAndMakeVisible (toast, 100);
    toast->watchParent (parent);
    toast->place();
    return toast;
}

Toast* Toast::showTermsDialog (juce::Component* parent)
{
    auto* toast = showDialog ("By using Vamrelund Helper I accept the Vamrelund terms and privacy policy",
                              " " + WebPages::terms(), {}, "DONE", 300, 200, parent);

    if (toast == nullptr)
        return nullptr;

    toast->textHeight = 14.0f;
    toast->showTermsLink = true;
    toast->addAcceptToggle ("Yes, I accept");
    toast->place();
    return toast;
}

//==============================================================================
juce::Rectangle<int> Toast::placementFor (int parentWidth, int parentHeight) const
{
    const auto margin = shadowMargin + innerMargin;
    return { (parentWidth - boxWidth) / 2 - margin, (parentHeight - boxHeight) / 2 - margin,
             boxWidth + 2 * margin, boxHeight + 2 * margin };
}

void Toast::place()
{
    juce::Rectangle<int> area;

    if (auto* parent = getParentComponent())
        area = parent->getLocalBounds();
    else if (auto* display = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay())
        area = display->userArea;

    setBounds (placementFor (area.getWidth(), area.getHeight()));
}

void Toast::watchParent (juce::Component* parent)
{
    watchedParent = parent;
    parent->addComponentListener (this);
}

void Toast::componentBeingDeleted (juce::Component&)
{
    // Nobody else would ever delete an orphaned toast (or stop its timer).
    watchedParent = nullptr;
    delete this;
}

void Toast::componentMovedOrResized (juce::Component& parent, bool, bool wasResized)
{
    if (! wasResized)
        return;

    backdrop.setBounds (0, 0, parent.getWidth(), parent.getHeight());
    place();
}

//==============================================================================
juce::Font Toast::messageFont() const
{
    if (message.length() >= 50)
        return appFont (AppFontStyle::light, textHeight);

    return appFont (AppFontStyle::semiBold, 19.5f);
}

float Toast::fadeAlpha (int ticks, int fps)
{
    if (ticks < 3 * fps)
        return 1.0f;

    return juce::jlimit (0.0f, 1.0f, (float) (4 * fps - ticks) / (float) fps);
}

bool Toast::isInTermsLink (juce::Point<int> p)
{
    return p.x > 137 && p.x < 338 && p.y > 194 && p.y < 215;
}

void Toast::paint (juce::Graphics& g)
{
    place();

    if (drawShadow)
        juce::DropShadow (juce::Colour (0x80000000), 60, {})
            .drawForRectangle (g, { 60, 60, boxWidth + 60, boxHeight + 60 });

    g.setColour (boxColour);
    g.fillRoundedRectangle (90.0f, 90.0f, (float) boxWidth, (float) boxHeight, 6.0f);

    const auto light = appFont (AppFontStyle::light, textHeight);

    g.setColour (darkColour);
    g.setFont (light);
    g.drawFittedText (title, { 100, 135, boxWidth - 20, 50 },
                      juce::Justification::top | juce::Justification::horizontallyCentred, 3, 1.0f);

    if (showTermsLink)
    {
        juce::AttributedString link;
        link.setWordWrap (juce::AttributedString::byWord);
        link.setLineSpacing (0.0f);
        link.setJustification (juce::Justification::horizontallyCentred);
        link.append (message, light.withStyle (juce::Font::underlined), linkColour);
        link.draw (g, { 138.0f, 195.0f, 200.0f, 20.0f });
        return;
    }

    g.setColour (juce::Colours::white);
    g.setFont (messageFont());
    g.drawFittedText (message, { 100, autoDismiss ? 151 : 143, boxWidth - 20, boxHeight - 90 },
                      juce::Justification::centred, 5, 1.0f);
}

void Toast::mouseDown (const juce::MouseEvent& e)
{
    if (showTermsLink && isInTermsLink (e.getPosition()))
        openWebPage (WebPages::terms());
}

void Toast::timerCallback()
{
    ++tickCount;

    if (tickCount >= 4 * framesPerSecond)
    {
        delete this;
        return;
    }

    if (tickCount >= 3 * framesPerSecond)
        setAlpha (fadeAlpha (tickCount, framesPerSecond));

    repaint();
}
