#!/usr/bin/env python3
"""Copies the Inter typefaces the application embeds into resources/fonts.

Debian's fonts-inter ships OpenType files with CFF (cubic) outlines. Three of
the embedded faces are stored as TrueType (quadratic) outlines, so they are
converted here with fontTools' cu2qu; the bold face is copied unchanged. The
font's licence travels with the files.
"""

import shutil
import sys
from pathlib import Path

from fontTools.pens.cu2quPen import Cu2QuPen
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib import TTFont, newTable

SOURCE = Path("/usr/share/fonts/opentype/inter")
LICENCE = Path("/usr/share/doc/fonts-inter/copyright")

CONVERTED = {
    "Inter-Regular.otf": "Inter-Regular.ttf",
    "Inter-SemiBold.otf": "Inter-SemiBold.ttf",
    "Inter-Light.otf": "Inter-Light.ttf",
}
COPIED = {"Inter-Bold.otf": "Inter-Bold.otf"}

# Largest distance, in font units, between a cubic curve and its quadratic
# approximation. One unit of a 2048-unit em is far below a pixel at UI sizes.
MAX_ERROR = 1.0


def quadratic_glyphs(glyph_set):
    glyphs = {}
    for name in glyph_set.keys():
        tt_pen = TTGlyphPen(glyph_set)
        # CFF contours run counter-clockwise, TrueType ones clockwise.
        glyph_set[name].draw(Cu2QuPen(tt_pen, MAX_ERROR, reverse_direction=True))
        glyphs[name] = tt_pen.glyph()
    return glyphs


def cff_to_truetype(font):
    if font.sfntVersion != "OTTO" or "CFF " not in font:
        raise ValueError("not a CFF-flavoured OpenType font")

    order = font.getGlyphOrder()
    font["loca"] = newTable("loca")
    glyf = font["glyf"] = newTable("glyf")
    glyf.glyphOrder = order
    glyf.glyphs = quadratic_glyphs(font.getGlyphSet())
    del font["CFF "]
    for table in ("VORG", "CFF2"):
        if table in font:
            del font[table]
    glyf.compile(font)

    # The left side bearings must match the new outlines' bounding boxes.
    hmtx = font["hmtx"]
    for name, glyph in glyf.glyphs.items():
        if hasattr(glyph, "xMin"):
            hmtx[name] = (hmtx[name][0], glyph.xMin)

    maxp = font["maxp"] = newTable("maxp")
    maxp.tableVersion = 0x00010000
    maxp.maxZones = 1
    maxp.maxTwilightPoints = 0
    maxp.maxStorage = 0
    maxp.maxFunctionDefs = 0
    maxp.maxInstructionDefs = 0
    maxp.maxStackElements = 0
    maxp.maxSizeOfInstructions = 0
    maxp.maxComponentElements = max(
        len(getattr(g, "components", []) or []) for g in glyf.glyphs.values())
    maxp.compile(font)

    post = font["post"]
    post.formatType = 2.0
    post.extraNames = []
    post.mapping = {}
    post.glyphOrder = order
    try:
        post.compile(font)
    except OverflowError:
        post.formatType = 3.0

    font["head"].glyphDataFormat = 0
    font.sfntVersion = "\000\001\000\000"


def main(out_dir):
    out_dir.mkdir(parents=True, exist_ok=True)

    for source, target in CONVERTED.items():
        # Keep the original time stamps so that a rerun gives identical files.
        font = TTFont(SOURCE / source, recalcTimestamp=False)
        cff_to_truetype(font)
        font.save(out_dir / target)
        print(f"converted {source} -> {target}")

    for source, target in COPIED.items():
        shutil.copyfile(SOURCE / source, out_dir / target)
        print(f"copied {source}")

    shutil.copyfile(LICENCE, out_dir / "Inter-LICENSE.txt")


if __name__ == "__main__":
    repo = Path(__file__).resolve().parents[2]
    main(Path(sys.argv[1]) if len(sys.argv) > 1 else repo / "resources" / "fonts")
