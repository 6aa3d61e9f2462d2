#include "ui/pages/ProductCell.h"

#include "install/ManualDownload.h"
#include "log/DiagnosticLog.h"
#include "localstate/RowRules.h"
#include "ui/look/AppFonts.h"
#include "ui/look/AppResources.h"

namespace
{
    juce::Colour plateColour (const ProductCell& cell)
    {
        if (cell.selected)
            return juce::Colour (0xffffffff);

        if (cell.kind == ProductListRules::expansion)
            return juce::Colour (0xfffff8f0);

        switch (cell.status)
        {
            case ProductListRules::notInstalled:    return juce::Colour (0xffced3d6);
            case ProductListRules::updateAvailable: return juce::Colour (0xfffcfbeb);
            case ProductListRules::installed:       return juce::Colour (0xffecf2ed);
            case ProductListRules::installing:      return juce::Colour (0xff437297);
            case ProductListRules::none:
            default:                                return juce::Colour (0xffffffff);
        }
    }
}

//==============================================================================
ProductCell::ProductCell (const ProductRow& rowToShow)
    : row (rowToShow), kind (ProductListRules::kindOf (rowToShow.category))
{
    if (kind == ProductListRules::expansion)
    {
        writeLog ("Expansion name " + row.name);
        allFilesInstalled = checkExtensionAllfilesInstalled (row);
    }

    if (row.isPublic)
    {
        addChildComponent (manualButton);
        manualButton.onClick = [this] { openManual(); };
    }

    stopButton.makeFilled ("Stop", juce::Colour (0xffd7e0e5), juce::Colour (0xff1c2a34));
    addChildComponent (stopButton);
    stopButton.onClick = [this]
    {
        if (job != nullptr)
            job->requestStop();
    };

    if (kind != ProductListRules::expansion)
    {
        for (const auto& target : row.targets)
            if (row.formats.contains (formatLabel (target.format).toLowerCase()))
                metaTargets.push_back (target);

        addChildComponent (metaView);
    }
}

ProductCell::~ProductCell()
{
    stopTimer();
}

bool ProductCell::isInDetailsZone (juce::Point<int> p) const
{
    return kind != ProductListRules::expansion && ! busy.load()
        && p.x >= getWidth() - 100 && p.x < getWidth() && p.y >= 0 && p.y < 30;
}

void ProductCell::toggleDetails()
{
    detailsShown = ! detailsShown;
    metaView.setVisible (detailsShown);

    if (detailsShown)
    {
        const auto count = ++detailsCount;
        juce::Component::SafePointer<ProductCell> self (this);

        juce::Timer::callAfterDelay (detailsCloseDelayMs, [self, count, report = onDelayedDetailsClose]
        {
            const auto outcome = [&]
            {
                auto* cell = self.getComponent();

                if (cell == nullptr)
                    return DetailsClose::cellGone;

                // A later opening owns the close now.
                if (cell->detailsCount != count)
                    return DetailsClose::reopenedSince;

                cell->detailsShown = false;
                cell->metaView.setVisible (false);
                cell->repaint();
                return DetailsClose::closed;
            }();

            if (report)
                report (outcome);
        });
    }

    repaint();
}

void ProductCell::openManual()
{
    if (cellDelegate != nullptr)
        ManualDownload::start (row.name, row.title, cellDelegate->getToken());
}

void ProductCell::picturesLoaded (const juce::Image& icon, const juce::Image& uiImage)
{
    if (icon.isValid())
        row.iconImage = icon;

    if (uiImage.isValid())
        row.uiImage = uiImage;

    resized();
    repaint();
}

void ProductCell::mouseMove (const juce::MouseEvent& e)
{
    setMouseCursor (isInDetailsZone (e.getPosition()) ? juce::MouseCursor::PointingHandCursor
                                                      : juce::MouseCursor::NormalCursor);
}

void ProductCell::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isRightButtonDown())
    {
        if (onRightClicked)
            onRightClicked (*this, e.getPosition());

        return;
    }

    if (isInDetailsZone (e.getPosition()))
    {
        toggleDetails();
        return;
    }

    if (onClicked)
        onClicked (*this);
}

void ProductCell::resized()
{
    const auto w = getWidth(), h = getHeight();

    if (kind != ProductListRules::expansion)
    {
        metaView.setBounds (w - 62, 28, 55, 55);
        manualButton.makeFilled ("User manual", juce::Colour (0xffd2e0ea), juce::Colour (0xff31414c));
        manualButton.setBounds (140, 58, 88, 24);
        manualButton.setVisible (row.isPublic && row.has_manual);
    }

    stopButton.setBounds (28, (h - 24) / 2, 74, 24);
}

void ProductCell::attachJob (InstallJobPtr jobToShow)
{
    job = std::move (jobToShow);

    if (job == nullptr)
        return;

    progress = job->progress();
    phase = job->phase();
    busy = true;
    status = ProductListRules::installing;
    stopButton.setVisible (true);
    startTimer (jobTickMs);
    repaint();
}

void ProductCell::detachJob()
{
    job.reset();
}

void ProductCell::timerCallback()
{
    if (job != nullptr)
    {
        progress = job->progress();
        phase = job->phase();

        if (busy.load() && ! job->isBusy())
        {
            busy = false;
            stopTimer();
            stopButton.setVisible (false);

            if (onJobEnded)
                onJobEnded (*this);
        }
    }

    repaint();
}

void ProductCell::paint (juce::Graphics& g)
{
    const auto w = getWidth(), h = getHeight();
    const auto fw = (float) w, fh = (float) h;
    const bool isBusy = busy.load();
    const auto currentPhase = phase.load();

    g.setOrigin (0, 3);

    // Plate
    g.setColour (plateColour (*this));
    g.fillRect (2, 2, w - 4, h - 12);

    // Arrow of the details zone
    if (kind != ProductListRules::expansion && ! isBusy)
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
    const bool staffUpdateView = staffAccount && status == ProductListRules::updateAvailable && ! isBusy;

    switch (status)
    {
        case ProductListRules::notInstalled:
            stateText = "Not installed";
            stateColour = juce::Colour (0xff707070);
            break;
        case ProductListRules::updateAvailable:
            stateText = installedVersionText (row, detailsShown);
            stateColour = juce::Colour (0xffd0d020);
            break;
        case ProductListRules::installed:
            stateText = kind == ProductListRules::expansion ? juce::String ("Installed") : installedVersionText (row, detailsShown);
            stateColour = juce::Colour (0xff30c040);
            break;
        case ProductListRules::installing:
            stateColour = juce::Colour (0xff437297);
            break;
        case ProductListRules::none:
        default:
            break;
    }

    if (isBusy)
    {
        using ProductListRules::InstallPhase;
        stateColour = juce::Colour (0xff437297);
        stateText = currentPhase == InstallPhase::waiting ? "Waiting..."
                  : (currentPhase == InstallPhase::downloading ? "Downloading" : "Installing");
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

        if (currentPhase != ProductListRules::InstallPhase::waiting)
            g.fillRect (2, h - 14, ProductListRules::progressBarWidth (w, currentPhase, progress.load()), 4);
    }

    // State text
    const bool noArrow = kind == ProductListRules::expansion || isBusy;
    const juce::Rectangle<int> stateArea (noArrow ? w - 184 : w - 196, 8, 174, 14);
    g.setColour (juce::Colour (0xff142734));

    if (staffUpdateView)
    {
        // Staff see both versions: installed, a small arrow, then the catalogue's.
        g.setFont (appFont (AppFontStyle::regular, 10.0f));
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
        g.setFont (appFont (AppFontStyle::regular, 12.5f));
        g.drawText (stateText, stateArea, juce::Justification::topRight, true);
    }

    // Border
    g.setColour (juce::Colour (0xff091c2a));
    g.drawRoundedRectangle (1.0f, 1.0f, fw - 2.0f, fh - 10.0f, 7.0f, 3.0f);

    // Icon, title, subtitle
    const int top = kind == ProductListRules::expansion ? 32 : 12;
    g.setColour (juce::Colour (0xff000000));

    if (row.iconImage.isValid())
        g.drawImage (row.iconImage, { 140.0f, (float) top, 30.0f, 30.0f }, juce::RectanglePlacement::stretchToFit);

    g.setColour (juce::Colour (0xff31414c));
    g.setFont (appFont (AppFontStyle::semiBold, 18.0f));
    g.drawText (row.title, juce::Rectangle<int> (178, top, 180, 22), juce::Justification::topLeft, true);

    g.setFont (appFont (AppFontStyle::regular, 12.0f));
    const auto subtitle = staffUpdateView && detailsShown ? row.build_group : row.subtitle;
    g.drawText (subtitle, juce::Rectangle<int> (178, kind == ProductListRules::expansion ? 54 : 34, 180, 14), juce::Justification::topLeft, true);

    // Selection frame
    if (selected)
    {
        g.setOrigin (0, -3);
        g.drawImage (AppResources::image ("markering_ram@x2.png"), { 0.0f, 0.0f, fw, fh - 3.0f },
                     juce::RectanglePlacement::stretchToFit);
        g.setOrigin (0, 3);
    }

    // Ribbon for beta and custom builds
    if (kind != ProductListRules::expansion && (row.beta || ! row.isPublic))
    {
        g.drawImage (AppResources::image ("banner.png"), { 0.5f, -1.0f, 60.0f, 60.0f }, juce::RectanglePlacement::stretchToFit);

        juce::Graphics::ScopedSaveState saved (g);
        g.addTransform (juce::AffineTransform::rotation (-juce::MathConstants<float>::pi / 4.0f).translated (-1.0f, 40.0f));
        g.setFont (appFont (AppFontStyle::semiBold, 14.0f));
        g.setColour (juce::Colour (0xc0000000));
        g.drawText (row.beta ? "BETA" : "Custom", juce::Rectangle<int> (0, 0, 60, 14), juce::Justification::centred, true);
    }
}
