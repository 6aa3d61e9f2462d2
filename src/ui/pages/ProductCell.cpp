#include "ui/pages/ProductsPage.h"

#include "log/DiagnosticLog.h"
#include "localstate/FilePresence.h"
#include "localstate/RowRules.h"
#include "ui/look/AppFonts.h"
#include "ui/look/AppResources.h"

namespace
{
    juce::Font appFont (int style, float height)
    {
        auto font = getAppFont (style);
        font.setHeight (height);
        return font;
    }

    juce::Colour plateColour (const ProductsPage::Cell& cell)
    {
        if (cell.selected)
            return juce::Colour (0xffffffff);

        if (cell.kind == 2)
            return juce::Colour (0xfffff8f0);

        switch (cell.status)
        {
            case 1:  return juce::Colour (0xffced3d6);
            case 2:  return juce::Colour (0xfffcfbeb);
            case 3:  return juce::Colour (0xffecf2ed);
            case 20: return juce::Colour (0xff437297);
            default: return juce::Colour (0xffffffff);
        }
    }
}

//==============================================================================
ProductsPage::MetaView::MetaView (Cell& owner)
    : cell (owner)
{
    setInterceptsMouseClicks (false, false);
}

void ProductsPage::MetaView::paint (juce::Graphics& g)
{
    g.setFont (appFont (0, 10.0f));
    int i = 0;

    for (const auto& target : cell.metaTargets)
    {
        if (target.format == PluginFormats::resources)
            continue;

        const auto y = (float) (12 * i);
        juce::Colour dot (0xff141414);

        if (cell.placedCode >= 1 && cell.placedCode <= 9)
            dot = juce::Colour (isPresent (target.file) ? 0xff66a660 : 0xffddbf1f);

        g.setColour (dot);
        g.fillEllipse (45.0f, y + 2.0f, 6.0f, 6.0f);

        g.setColour (juce::Colour (0xff142734));
        g.drawText (formatLabel (target.format), juce::Rectangle<float> (0.0f, y, 40.0f, 9.0f),
                    juce::Justification::topRight, true);
        ++i;
    }
}

//==============================================================================
ProductsPage::Cell::Cell (const ProductRow& rowToShow, ProductsPage& owner)
    : row (rowToShow), page (owner), kind (ProductListRules::kindOf (rowToShow.category))
{
    if (kind == 2)
    {
        writeLog ("Expansion name " + row.name);
        allFilesInstalled = checkExtensionAllfilesInstalled (row);
    }

    if (row.isPublic)
        addChildComponent (manualButton);

    stopButton.makeFilled ("Stop", juce::Colour (0xffd7e0e5), juce::Colour (0xff1c2a34));
    addChildComponent (stopButton);

    if (kind != 2)
    {
        for (const auto& target : row.targets)
            if (row.formats.contains (formatLabel (target.format).toLowerCase()))
                metaTargets.push_back (target);

        addChildComponent (metaView);
    }
}

ProductsPage::Cell::~Cell()
{
    stopTimer();
}

bool ProductsPage::Cell::isInDetailsZone (juce::Point<int> p) const
{
    return kind != 2 && ! busy.load()
        && p.x >= getWidth() - 100 && p.x < getWidth() && p.y >= 0 && p.y < 30;
}

void ProductsPage::Cell::toggleDetails()
{
    detailsShown = ! detailsShown;
    metaView.setVisible (detailsShown);

    if (detailsShown)
    {
        const auto count = ++detailsCount;
        juce::Component::SafePointer<Cell> self (this);

        juce::Timer::callAfterDelay (detailsCloseDelayMs, [self, count]
        {
            auto* cell = self.getComponent();

            if (cell == nullptr || cell->detailsCount != count)
                return;

            cell->detailsShown = false;
            cell->metaView.setVisible (false);
            cell->repaint();
        });
    }

    repaint();
}

void ProductsPage::Cell::picturesLoaded (const juce::Image& icon, const juce::Image& uiImage)
{
    if (icon.isValid())
        row.iconImage = icon;

    if (uiImage.isValid())
        row.uiImage = uiImage;

    resized();
    repaint();
}

void ProductsPage::Cell::mouseMove (const juce::MouseEvent& e)
{
    setMouseCursor (isInDetailsZone (e.getPosition()) ? juce::MouseCursor::PointingHandCursor
                                                      : juce::MouseCursor::NormalCursor);
}

void ProductsPage::Cell::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isRightButtonDown())
        return;   // release notes come with their own view

    if (isInDetailsZone (e.getPosition()))
    {
        toggleDetails();
        return;
    }

    page.cellClicked (*this, e);
}

void ProductsPage::Cell::resized()
{
    const auto w = getWidth(), h = getHeight();

    if (kind != 2)
    {
        metaView.setBounds (w - 62, 28, 55, 55);
        manualButton.makeFilled ("User manual", juce::Colour (0xffd2e0ea), juce::Colour (0xff31414c));
        manualButton.setBounds (140, 58, 88, 24);
        manualButton.setVisible (row.isPublic && row.has_manual);
    }

    stopButton.setBounds (28, (h - 24) / 2, 74, 24);
}

void ProductsPage::Cell::timerCallback()
{
    repaint();
}

void ProductsPage::Cell::paint (juce::Graphics& g)
{
    const auto w = getWidth(), h = getHeight();
    const auto fw = (float) w, fh = (float) h;
    const bool isBusy = busy.load();
    const int currentPhase = phase.load();

    g.setOrigin (0, 3);

    // Plate
    g.setColour (plateColour (*this));
    g.fillRect (2, 2, w - 4, h - 12);

    // Arrow of the details zone
    if (kind != 2 && ! isBusy)
        g.drawImage (AppResources::image ("down_arrow_standard.png"), { fw - 19.0f, 8.0f, 12.0f, 12.0f },
                     juce::RectanglePlacement::stretchToFit);

    // Picture panel
    if (! isBusy)
    {
        g.drawImage (AppResources::image (selected ? "bg_ui_active@2x.png" : "bg_ui_standard@2x.png"),
                     { 2.0f, 2.0f, 128.0f, fh - 12.0f }, juce::RectanglePlacement::stretchToFit);

        if (row.uiImage.getWidth() >= 1 && row.uiImage.getHeight() >= 1)
        {
            const auto iw = (float) row.uiImage.getWidth(), ih = (float) row.uiImage.getHeight();
            auto pw = 80.0f, ph = 80.0f * ih / iw;

            if (ph > 50.0f)
            {
                ph = 50.0f;
                pw = 50.0f * iw / ih;
            }

            g.drawImage (row.uiImage, { (128.0f - pw) / 2.0f, (fh - 8.0f - ph) / 2.0f - 1.0f, pw, ph },
                         juce::RectanglePlacement::stretchToFit);
        }
    }

    // State text and colour
    juce::String stateText;
    juce::Colour stateColour (0xffffffff);
    const bool staffUpdateView = page.staffAccount && status == 2 && ! isBusy;

    switch (status)
    {
        case 1:  stateText = "Not installed"; stateColour = juce::Colour (0xff707070); break;
        case 2:  stateText = installedVersionText (row, detailsShown); stateColour = juce::Colour (0xffd0d020); break;
        case 3:  stateText = kind == 2 ? juce::String ("Installed") : installedVersionText (row, detailsShown);
                 stateColour = juce::Colour (0xff30c040); break;
        case 20: stateColour = juce::Colour (0xff437297); break;
        default: break;
    }

    if (isBusy)
    {
        stateColour = juce::Colour (0xff437297);
        stateText = currentPhase == 0 ? "Waiting..." : (currentPhase == 1 ? "Downloading" : "Installing");
    }

    setAlpha (1.0f);

    // State bar, with moving stripes while an install runs
    g.setColour (stateColour);
    g.fillRect (2, h - 14, w - 4, 4);

    if (isBusy)
    {
        const auto stripes = AppResources::image ("progressBarPattern.png");
        g.setFillType (juce::FillType (stripes, juce::AffineTransform::translation ((float) stripeOffset, fh - 14.0f)));
        g.setOpacity (1.0f);

        stripeOffset -= 2;

        if (stripeOffset < 0)
            stripeOffset += 26;

        if (currentPhase != 0)
            g.fillRect (2, h - 14, ProductListRules::progressBarWidth (w, currentPhase, progress.load()), 4);
    }

    // State text
    const bool noArrow = kind == 2 || isBusy;
    const juce::Rectangle<int> stateArea (noArrow ? w - 184 : w - 196, 8, 174, 14);
    g.setColour (juce::Colour (0xff142734));

    if (staffUpdateView)
    {
        // Staff see both versions: installed, a small arrow, then the catalogue's.
        g.setFont (appFont (0, 10.0f));
        const auto newVersion = "v" + versionToText (row.version);
        const auto newWidth = juce::roundToInt (g.getCurrentFont().getStringWidthFloat (newVersion)) + 2;
        const auto right = stateArea.getRight();
        g.drawText (newVersion, stateArea, juce::Justification::topRight, true);

        juce::Path arrow;
        const auto ax = (float) (right - newWidth - 10);
        arrow.addTriangle (ax, 10.0f, ax, 16.0f, ax + 5.0f, 13.0f);
        g.fillPath (arrow);

        g.drawText (stateText, stateArea.withRight ((int) ax - 3), juce::Justification::topRight, true);
    }
    else
    {
        g.setFont (appFont (0, 12.5f));
        g.drawText (stateText, stateArea, juce::Justification::topRight, true);
    }

    // Border
    g.setColour (juce::Colour (0xff091c2a));
    g.drawRoundedRectangle (1.0f, 1.0f, fw - 2.0f, fh - 10.0f, 7.0f, 3.0f);

    // Icon, title, subtitle
    const int top = kind == 2 ? 32 : 12;
    g.setColour (juce::Colour (0xff000000));

    if (row.iconImage.isValid())
        g.drawImage (row.iconImage, { 140.0f, (float) top, 30.0f, 30.0f }, juce::RectanglePlacement::stretchToFit);

    g.setColour (juce::Colour (0xff31414c));
    g.setFont (appFont (1, 18.0f));
    g.drawText (row.title, juce::Rectangle<int> (178, top, 180, 22), juce::Justification::topLeft, true);

    g.setFont (appFont (0, 12.0f));
    const auto subtitle = staffUpdateView && detailsShown ? row.build_group : row.subtitle;
    g.drawText (subtitle, juce::Rectangle<int> (178, kind == 2 ? 54 : 34, 180, 14), juce::Justification::topLeft, true);

    // Selection frame
    if (selected)
    {
        g.setOrigin (0, -3);
        g.drawImage (AppResources::image ("markering_ram@x2.png"), { 0.0f, 0.0f, fw, fh - 3.0f },
                     juce::RectanglePlacement::stretchToFit);
        g.setOrigin (0, 3);
    }

    // Ribbon for beta and custom builds
    if (kind != 2 && (row.beta || ! row.isPublic))
    {
        g.drawImage (AppResources::image ("banner.png"), { 0.5f, -1.0f, 60.0f, 60.0f }, juce::RectanglePlacement::stretchToFit);

        juce::Graphics::ScopedSaveState saved (g);
        g.addTransform (juce::AffineTransform::rotation (-juce::MathConstants<float>::pi / 4.0f).translated (-1.0f, 40.0f));
        g.setFont (appFont (1, 14.0f));
        g.setColour (juce::Colour (0xc0000000));
        g.drawText (row.beta ? "BETA" : "Custom", juce::Rectangle<int> (0, 0, 60, 14), juce::Justification::centred, true);
    }
}
