#include "demo-service/PeVersionProbe.h"
#include "demoservice/SmallFiles.h"
#include "demoservice/VersionQuad.h"
#include "pewriter/PeImage.h"

#include <juce_graphics/juce_graphics.h>
#include <gtest/gtest.h>

#include <regex>

using namespace demoservice;
using pewriter::buildPeImage;
using pewriter::PeImageRecipe;

TEST (DemoPeImage, VersionResourceReadsBackForDllsAndExecutables)
{
    struct Case { PeImageRecipe::Kind kind; std::array<std::uint16_t, 4> version; };
    const Case cases[] = {
        { PeImageRecipe::Kind::dll, { 1, 3, 0, 57 } },
        { PeImageRecipe::Kind::dll, { 0, 0, 0, 0 } },
        { PeImageRecipe::Kind::dll, { 65535, 65535, 65535, 65535 } },
        { PeImageRecipe::Kind::exe, { 1, 0, 15, 1015 } },
    };

    for (const auto& c : cases)
    {
        PeImageRecipe recipe;
        recipe.kind = c.kind;
        recipe.fileVersion = c.version;
        recipe.productVersion = { 9, 9, 9, 9 };
        recipe.strings = { { "CompanyName", "Vamrelund" }, { "ProductName", "S\xc3\xb8lvkant" }, { "Empty", "" } };

        const auto image = buildPeImage (recipe);
        const auto version = probePeFileVersion (image);

        ASSERT_TRUE (version.has_value());
        EXPECT_EQ (*version, c.version);
        EXPECT_EQ (image.size() % 0x200, 0u);

        const auto [stored, expected] = probePeChecksum (image);
        EXPECT_EQ (stored, expected);

        // IMAGE_FILE_DLL exactly for DLLs.
        const auto characteristics = image[0x80 + 22] | (image[0x80 + 23] << 8);
        EXPECT_EQ ((characteristics & 0x2000) != 0, c.kind == PeImageRecipe::Kind::dll);
    }
}

TEST (DemoPeImage, DamagedImagesDoNotReadAsVersioned)
{
    PeImageRecipe recipe;
    recipe.fileVersion = { 1, 2, 3, 4 };
    const auto good = buildPeImage (recipe);
    ASSERT_TRUE (probePeFileVersion (good).has_value());

    auto noSignature = good;
    noSignature[0x80] = 'X';
    EXPECT_FALSE (probePeFileVersion (noSignature).has_value());

    auto truncated = good;
    truncated.resize (0x300);
    EXPECT_FALSE (probePeFileVersion (truncated).has_value());
}

TEST (DemoPeImage, VersionQuadFromCatalogueTexts)
{
    struct Case { const char* version; const char* build; std::array<std::uint16_t, 4> expected; };
    const Case cases[] = {
        { "1.3.0",   "57",    { 1, 3, 0, 57 } },
        { "10.0.1",  "1001",  { 10, 0, 1, 1001 } },
        { "2.5",     "",      { 2, 5, 0, 0 } },
        { "1.2.3.4", "9",     { 1, 2, 3, 9 } },
        { "a.b.c",   "x",     { 0, 0, 0, 0 } },
        { "70000.1", "99999", { 65535, 1, 0, 65535 } },
    };

    for (const auto& c : cases)
        EXPECT_EQ (versionQuad (c.version, c.build), c.expected) << c.version << " / " << c.build;
}

TEST (DemoSmallFiles, PngDecodesWithTheClientsImageLoader)
{
    const auto png = buildPng (60, 40, 0xff0000, 0x0000ff);
    const auto image = juce::ImageFileFormat::loadFrom (png.data(), png.size());

    ASSERT_TRUE (image.isValid());
    EXPECT_EQ (image.getWidth(), 60);
    EXPECT_EQ (image.getHeight(), 40);
    EXPECT_EQ (image.getPixelAt (0, 0).getARGB(), 0xffff0000u);
    EXPECT_EQ (image.getPixelAt (59, 39).getARGB(), 0xff0000ffu);

    // More than one stored deflate block.
    const auto large = buildPng (200, 200, 0x102030, 0x405060);
    EXPECT_TRUE (juce::ImageFileFormat::loadFrom (large.data(), large.size()).isValid());
}

TEST (DemoSmallFiles, PdfCrossReferencesPointAtItsObjects)
{
    const auto pdf = buildPdf ("My Synth (manual)", { "Line one", "S\xc3\xb8lvkant \\ backslash" });

    ASSERT_EQ (pdf.rfind ("%PDF-1.4\n", 0), 0u);
    ASSERT_GE (pdf.size(), 6u);
    EXPECT_EQ (pdf.substr (pdf.size() - 6), "%%EOF\n");

    const auto startxref = pdf.rfind ("startxref\n");
    ASSERT_NE (startxref, std::string::npos);
    const auto xrefOffset = std::stoul (pdf.substr (startxref + 10));
    ASSERT_EQ (pdf.compare (xrefOffset, 4, "xref"), 0);

    std::regex entry ("(\\d{10}) 00000 n ");
    int object = 1;
    for (std::sregex_iterator it (pdf.begin() + static_cast<long> (xrefOffset), pdf.end(), entry), end; it != end; ++it, ++object)
    {
        const auto offset = std::stoul ((*it)[1]);
        const auto header = std::to_string (object) + " 0 obj";
        EXPECT_EQ (pdf.compare (offset, header.size(), header), 0) << header;
    }
    EXPECT_EQ (object, 7);
}
