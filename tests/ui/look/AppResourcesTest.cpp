#include "ui/look/AppFonts.h"
#include "ui/look/AppResources.h"

#include <gtest/gtest.h>

TEST (AppResources, EveryImageOfTheBundleDecodesAtItsPixelSize)
{
    const struct { const char* name; int width, height; } images[] = {
        { "settings_icon.png", 31, 31 },
        { "logo_vamrel_dark@2x.png", 160, 32 },
        { "logo_vamrel@2x.png", 160, 32 },
        { "U-left_corner.png", 36, 36 },
        { "upper_frame_edge.png", 36, 36 },
        { "U-right_corner.png", 36, 36 },
        { "left_frame_edge.png", 36, 36 },
        { "B-left_corner.png", 36, 36 },
        { "bottom_frame_edge.png", 36, 36 },
        { "B-right_corner_filled.png", 36, 36 },
        { "right_frame_edge.png", 36, 36 },
        { "bg_ui_standard@2x.png", 256, 168 },
        { "bg_ui_active@2x.png", 256, 168 },
        { "markering_ram@x2.png", 773, 187 },
        { "progressBarPattern.png", 26, 4 },
        { "banner.png", 60, 60 },
        { "down_arrow_standard.png", 24, 24 },
        { "btn_reload@x2.png", 36, 30 },
    };

    for (const auto& expected : images)
    {
        const auto image = AppResources::image (expected.name);
        ASSERT_TRUE (image.isValid()) << expected.name;
        EXPECT_EQ (image.getWidth(), expected.width) << expected.name;
        EXPECT_EQ (image.getHeight(), expected.height) << expected.name;
        EXPECT_TRUE (image.hasAlphaChannel()) << expected.name;
    }

    EXPECT_FALSE (AppResources::image ("missing.png").isValid());
    EXPECT_TRUE (AppResources::find ("missing.png").isEmpty());
}

TEST (AppResources, HalfSizeNamesEndInTwoX)
{
    EXPECT_TRUE (AppResources::isHalfSize ("logo_vamrel@2x.png"));
    EXPECT_TRUE (AppResources::isHalfSize ("markering_ram@x2.png"));
    EXPECT_FALSE (AppResources::isHalfSize ("banner.png"));
    EXPECT_FALSE (AppResources::isHalfSize ("U-left_corner.png"));
}

TEST (AppResources, FrameEdgesCanBeStretchedWithoutSeams)
{
    // A stretched edge must look the same along its length, and must meet
    // its corner pieces where they touch.
    const auto top = AppResources::image ("upper_frame_edge.png");
    const auto left = AppResources::image ("left_frame_edge.png");
    const auto corner = AppResources::image ("U-left_corner.png");

    for (int across = 0; across < 36; ++across)
    {
        for (int along = 1; along < 36; ++along)
        {
            ASSERT_EQ (top.getPixelAt (along, across).getARGB(), top.getPixelAt (0, across).getARGB());
            ASSERT_EQ (left.getPixelAt (across, along).getARGB(), left.getPixelAt (across, 0).getARGB());
        }

        // The corner's last column continues into the top edge, its last row into the left edge.
        EXPECT_EQ (corner.getPixelAt (35, across).getARGB(), top.getPixelAt (0, across).getARGB()) << across;
        EXPECT_EQ (corner.getPixelAt (across, 35).getARGB(), left.getPixelAt (across, 0).getARGB()) << across;
    }
}

TEST (AppFonts, EmbeddedInterFacesAndTheDefaultForOtherStyles)
{
    const struct { int style; const char* styleName; } faces[] = {
        { 0, "Regular" }, { 1, "Semi Bold" }, { 2, "Light" }, { 3, "Bold" },
    };

    for (const auto& face : faces)
    {
        // Systems name a face either "Inter" + "Semi Bold" or "Inter SemiBold" + "Regular".
        const auto& font = getAppFont (face.style);
        const auto fullName = (font.getTypefaceName() + font.getTypefaceStyle()).removeCharacters (" ");
        EXPECT_TRUE (fullName.startsWith ("Inter")) << fullName;
        EXPECT_TRUE (fullName.contains (juce::String (face.styleName).removeCharacters (" "))) << fullName;
    }

    for (int a = 0; a < 4; ++a)
        for (int b = a + 1; b < 4; ++b)
            EXPECT_NE (getAppFont (a).getTypefacePtr(), getAppFont (b).getTypefacePtr());

    for (int other : { -1, 4, 99 })
    {
        const auto& font = getAppFont (other);
        EXPECT_EQ (font.getTypefaceName(), juce::Font::getDefaultSansSerifFontName());
        EXPECT_FLOAT_EQ (font.getHeight(), 12.0f);
        EXPECT_FALSE (font.isBold());
    }

    // The same objects for the whole process.
    EXPECT_EQ (&getAppFont (1), &getAppFont (1));
    EXPECT_EQ (&getAppFont (7), &getAppFont (-3));
}

TEST (AppFonts, NamedStylesAndSizedCopies)
{
    // The names keep the numbers callers have always passed.
    const struct { int style; const char* faceName; } named[] = {
        { AppFontStyle::regular, "Regular" }, { AppFontStyle::semiBold, "SemiBold" },
        { AppFontStyle::light, "Light" }, { AppFontStyle::bold, "Bold" },
    };

    for (const auto& n : named)
    {
        const auto& face = getAppFont (n.style);
        const auto fullName = (face.getTypefaceName() + face.getTypefaceStyle()).removeCharacters (" ");
        const auto expected = "Inter" + juce::String (n.faceName);
        EXPECT_TRUE (fullName == expected || fullName == expected + "Regular") << fullName;

        // A sized copy: same face, new height, the shared font untouched.
        const auto sized = appFont (n.style, 17.5f);
        EXPECT_EQ (sized.getTypefacePtr(), face.getTypefacePtr()) << n.faceName;
        EXPECT_FLOAT_EQ (sized.getHeight(), 17.5f);
        EXPECT_NE (face.getHeight(), 17.5f);
    }

    EXPECT_EQ (appFont (42, 9.0f).getTypefaceName(), juce::Font::getDefaultSansSerifFontName());
}

TEST (AppFonts, ConvertedFacesKeepTheirWidthsAndOpenCounters)
{
    // The TrueType conversion must keep the glyphs' metrics: Inter's widths
    // grow steadily from Light to Bold, and every face draws ink.
    const juce::String sample ("Vamrelund Helper " VAMRHELPER_VERSION_STRING);
    float previousWidth = 0.0f;

    for (int style : { 2, 0, 1, 3 })
    {
        const auto font = getAppFont (style).withHeight (20.0f);
        const auto width = font.getStringWidthFloat (sample);
        EXPECT_GT (width, previousWidth) << style;
        previousWidth = width;

        juce::Image image (juce::Image::ARGB, 300, 40, true);
        {
            juce::Graphics g (image);
            g.setColour (juce::Colours::black);
            g.setFont (font);
            g.drawText (sample, 0, 0, 300, 40, juce::Justification::centredLeft, false);
        }

        int inked = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 300; ++x)
                inked += image.getPixelAt (x, y).getAlpha() > 128 ? 1 : 0;

        EXPECT_GT (inked, 300) << style;

        // The counter of "o" stays open: contours turned the wrong way would fill it.
        juce::GlyphArrangement glyphs;
        glyphs.addLineOfText (font, "o", 0.0f, 0.0f);
        juce::Path outline;
        glyphs.createPath (outline);
        EXPECT_FALSE (outline.contains (outline.getBounds().getCentre())) << style;
    }
}
