#!/usr/bin/env python3
"""Draws the application's images into resources/images.

Everything here is our own artwork, drawn from code so that anyone can
regenerate or change it. Shapes are described by signed distances (negative
inside) and shaded per pixel, which gives clean anti-aliased edges at these
small sizes; text and polygons are drawn by Pillow at a multiple of the size
and scaled down.

Images whose names end in "@2x" or "@x2" are shown at half their size, as are
the 36 x 36 frame pieces.
"""

import math
import sys
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

REPO = Path(__file__).resolve().parents[2]
FONTS = REPO / "resources" / "fonts"

# The palette the widgets use.
NAVY = 0x091C2A        # inner panels, round buttons, cell borders
SLATE = 0x3D4D58       # products page background
INK = 0x31414C         # dark text on light backgrounds
MIST = 0xE0E6EA        # light text on dark backgrounds
GREEN = 0x4BBF49       # "installed", toasts
AZURE = 0x1E9BFF       # selection


# ---------------------------------------------------------------------------
# Small helpers

def rgb(value):
    return ((value >> 16) & 255, (value >> 8) & 255, value & 255)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


def coverage(distance):
    """Share of a pixel covered by a shape, from its distance to the edge."""
    return clamp(0.5 - distance)


def over(dst, colour, alpha):
    """Composites a straight-alpha colour over a straight-alpha pixel."""
    r, g, b, a = dst
    if alpha <= 0:
        return dst
    out_a = alpha + a * (1 - alpha)
    if out_a <= 0:
        return (0.0, 0.0, 0.0, 0.0)
    k = a * (1 - alpha)
    return ((colour[0] * alpha + r * k) / out_a,
            (colour[1] * alpha + g * k) / out_a,
            (colour[2] * alpha + b * k) / out_a,
            out_a)


def shade(width, height, shader, samples=1):
    """Builds an RGBA image; shader(x, y) returns (r, g, b, a) with colour in
    0..255 and alpha in 0..1. samples > 1 averages a grid per pixel."""
    image = Image.new("RGBA", (width, height))
    pixels = image.load()
    for y in range(height):
        for x in range(width):
            if samples == 1:
                r, g, b, a = shader(x + 0.5, y + 0.5)
            else:
                acc = [0.0, 0.0, 0.0, 0.0]
                for sy in range(samples):
                    for sx in range(samples):
                        pr, pg, pb, pa = shader(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples)
                        acc[0] += pr * pa
                        acc[1] += pg * pa
                        acc[2] += pb * pa
                        acc[3] += pa
                n = samples * samples
                a = acc[3] / n
                r, g, b = ((acc[0] / acc[3], acc[1] / acc[3], acc[2] / acc[3]) if acc[3] > 0 else (0, 0, 0))
            pixels[x, y] = (round(r), round(g), round(b), round(clamp(a) * 255))
    return image


def downsample(image, size):
    """Scales a supersampled drawing down with premultiplied alpha."""
    return image.convert("RGBa").resize(size, Image.LANCZOS).convert("RGBA")


def rounded_box_distance(px, py, x0, y0, x1, y1, radius):
    """Signed distance to a rounded rectangle (negative inside)."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    outside = math.hypot(max(qx, 0), max(qy, 0))
    inside = min(max(qx, qy), 0)
    return outside + inside - radius


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def font(name, size):
    return ImageFont.truetype(str(FONTS / name), size)


# ---------------------------------------------------------------------------
# Word marks: "VAMRELUND", tracked capitals with a small green bar in front.

def word_mark(text_colour, accent):
    """"VAMRELUND" in tracked Inter Bold capitals after a small two-stroke V
    emblem, 160 x 32 (drawn at 80 x 16)."""
    scale = 4
    width, height = 160, 32
    canvas = Image.new("RGBA", (width * scale, height * scale), (0, 0, 0, 0))
    draw = ImageDraw.Draw(canvas)

    word = "VAMRELUND"
    gap = 5 * scale

    # The largest size whose tracked word and emblem fit with a small margin.
    size = 24.0
    while True:
        face = font("Inter-Bold.otf", int(size * scale))
        tracking = 0.10 * size * scale
        advances = [face.getlength(c) for c in word]
        text_w = sum(advances) + tracking * (len(word) - 1)
        top, bottom = face.getbbox("V")[1], face.getbbox("V")[3]
        cap = bottom - top
        emblem_w = cap * 1.05
        total = emblem_w + gap + text_w
        if total <= (width - 4) * scale:
            break
        size -= 0.5

    left = (width * scale - total) / 2
    cap_top = (height * scale - cap) / 2
    cap_bottom = cap_top + cap

    # The emblem: two slanted strokes meeting at the bottom, the second one
    # a lighter tint of the accent.
    stroke = cap * 0.30
    mid = left + emblem_w / 2
    second = mix(rgb(accent), (255, 255, 255), 0.35)
    draw.polygon([(left, cap_top), (left + stroke, cap_top),
                  (mid + stroke / 2, cap_bottom), (mid - stroke / 2, cap_bottom)],
                 fill=rgb(accent) + (255,))
    draw.polygon([(left + emblem_w - stroke, cap_top), (left + emblem_w, cap_top),
                  (mid + stroke / 2 + 0.5 * scale, cap_bottom), (mid + 0.5 * scale, cap_bottom - stroke * 0.9)],
                 fill=tuple(round(v) for v in second) + (255,))

    x = left + emblem_w + gap
    for c, adv in zip(word, advances):
        draw.text((x, cap_top - top), c, font=face, fill=rgb(text_colour) + (255,))
        x += adv + tracking
    return downsample(canvas, (width, height))


# ---------------------------------------------------------------------------
# Products-page frame: nine 36 x 36 pieces drawn at 18 x 18.
#
# The dark panel's edge lies on every piece's centre line (source pixel 18),
# its corners have a radius of 12 source pixels around (30, 30) as seen from
# the corner. Each piece shades the same function of the distance to that
# edge, so corners and stretched edges meet without a seam.

RIM = rgb(0x5A6C78)
RIM_SHADOW = (0, 0, 0)


def frame_pixel(distance):
    """Colour of the frame at a signed distance from the panel edge."""
    pixel = (0.0, 0.0, 0.0, 0.0)
    if distance > 0:
        # A soft shadow falling outwards from the rim onto the page; it ends
        # 6 source pixels out, inside the 24 columns of the bottom-right
        # corner that the page draws.
        pixel = over(pixel, RIM_SHADOW, 0.30 * (1 - smoothstep(0, 6, distance)))
    else:
        # A faint inner shadow so the list seems to sit below the rim.
        pixel = over(pixel, RIM_SHADOW, 0.35 * (1 - smoothstep(0, 5, -distance)))
    # The rim: one display pixel just outside the panel. The pieces are
    # supersampled, so a hard test per sample is enough.
    if 0 <= distance < 2:
        pixel = over(pixel, RIM, 1.0)
    return pixel


def frame_piece(distance_at):
    return shade(36, 36, lambda x, y: frame_pixel(distance_at(x, y)), samples=4)


def corner_distance(x, y):
    """Top-left corner: the panel lies right of and below (30, 30) - 12."""
    qx, qy = 30 - x, 30 - y
    outside = math.hypot(max(qx, 0), max(qy, 0))
    inside = min(max(qx, qy), 0)
    return outside + inside - 12


def frame_images():
    return {
        "U-left_corner.png": frame_piece(lambda x, y: corner_distance(x, y)),
        "U-right_corner.png": frame_piece(lambda x, y: corner_distance(36 - x, y)),
        "B-left_corner.png": frame_piece(lambda x, y: corner_distance(x, 36 - y)),
        "B-right_corner_filled.png": frame_piece(lambda x, y: corner_distance(36 - x, 36 - y)),
        "upper_frame_edge.png": frame_piece(lambda x, y: 18 - y),
        "bottom_frame_edge.png": frame_piece(lambda x, y: y - 18),
        "left_frame_edge.png": frame_piece(lambda x, y: 18 - x),
        "right_frame_edge.png": frame_piece(lambda x, y: x - 18),
    }


# ---------------------------------------------------------------------------
# Icons

def settings_icon():
    """A white gear with eight teeth and a round hole, 31 x 31."""
    scale = 8
    size = 31 * scale
    mask = Image.new("L", (size, size), 0)
    draw = ImageDraw.Draw(mask)
    c = size / 2
    teeth = 8
    outer, inner = 14.6 * scale, 11.0 * scale
    points = []
    for i in range(teeth):
        base = 2 * math.pi * i / teeth
        step = 2 * math.pi / teeth
        for angle, radius in ((base - step * 0.30, inner), (base - step * 0.17, outer),
                              (base + step * 0.17, outer), (base + step * 0.30, inner)):
            points.append((c + radius * math.cos(angle), c + radius * math.sin(angle)))
    draw.polygon(points, fill=255)
    hole = 5.0 * scale
    draw.ellipse((c - hole, c - hole, c + hole, c + hole), fill=0)

    white = Image.new("RGBA", (size, size), (255, 255, 255, 255))
    white.putalpha(mask)
    return downsample(white, (31, 31))


def down_arrow():
    """A rounded chevron pointing down, 24 x 24, dark on the light cell plate."""
    ink = rgb(INK)

    def shader(x, y):
        d = min(segment_distance(x, y, 6.5, 9.5, 12, 15),
                segment_distance(x, y, 12, 15, 17.5, 9.5)) - 1.6
        return ink + (coverage(d),)

    return shade(24, 24, shader, samples=4)


def reload_icon():
    """A white circular arrow, 36 x 30 (drawn at 18 x 15)."""
    scale = 8
    w, h = 36 * scale, 30 * scale
    mask = Image.new("L", (w, h), 0)
    draw = ImageDraw.Draw(mask)
    cx, cy, r, t = 18 * scale, 15 * scale, 10.0 * scale, 3.2 * scale

    # The ring, open at the upper right where the arrow head sits.
    # Angles in degrees, clockwise from three o'clock (y points down).
    start, end = 20, 290
    draw.arc((cx - r - t / 2, cy - r - t / 2, cx + r + t / 2, cy + r + t / 2),
             start=start, end=end, fill=255, width=int(t))
    # Round the tail end of the ring.
    tail = math.radians(start)
    tx, ty = cx + r * math.cos(tail), cy + r * math.sin(tail)
    draw.ellipse((tx - t / 2, ty - t / 2, tx + t / 2, ty + t / 2), fill=255)

    # The arrow head at the ring's open end, pointing along the turn.
    head = math.radians(end)
    hx, hy = cx + r * math.cos(head), cy + r * math.sin(head)
    tangent = (-math.sin(head), math.cos(head))   # clockwise direction on screen
    normal = (math.cos(head), math.sin(head))
    size = 5.2 * scale
    tip = (hx + tangent[0] * size * 1.05, hy + tangent[1] * size * 1.05)
    back_out = (hx + normal[0] * size - tangent[0] * size * 0.25,
                hy + normal[1] * size - tangent[1] * size * 0.25)
    back_in = (hx - normal[0] * size - tangent[0] * size * 0.25,
               hy - normal[1] * size - tangent[1] * size * 0.25)
    draw.polygon([tip, back_out, back_in], fill=255)

    white = Image.new("RGBA", (w, h), (255, 255, 255, 255))
    white.putalpha(mask)
    return downsample(white, (36, 30))


# ---------------------------------------------------------------------------
# Product cells

def picture_panel(active):
    """The left panel of a cell, behind the product picture, 256 x 168.

    It is stretched into 128 x 91 at the cell's left edge, so its left
    corners are rounded to follow the cell's border."""
    if active:
        top, bottom, glow = rgb(0x1F4A6E), rgb(0x0E2438), rgb(0x3A7FB8)
    else:
        top, bottom, glow = rgb(0x22343F), rgb(0x0D1C27), rgb(0x34505F)
    edge = rgb(AZURE) if active else rgb(0x3F5563)

    def shader(x, y):
        # Rounded on the left only: extend the box past the right edge.
        d = rounded_box_distance(x, y, 0, 0, 256 + 24, 168, 12)
        alpha = coverage(d)
        if alpha <= 0:
            return (0, 0, 0, 0)
        colour = mix(top, bottom, y / 168)
        # A soft light in the middle where the picture sits.
        r = math.hypot((x - 128) / 128, (y - 80) / 84)
        colour = mix(colour, glow, 0.55 * (1 - smoothstep(0.0, 1.0, r)))
        # A hairline highlight along the top and a separator on the right.
        colour = mix(colour, rgb(0xFFFFFF), 0.10 * clamp(2.0 - y))
        sep = clamp(x - (256 - (3 if active else 2)))
        colour = mix(colour, edge, sep)
        return colour + (alpha,)

    return shade(256, 168, shader)


def selection_frame():
    """The glowing outline laid over a selected cell, 773 x 187.

    It is stretched over (0, 0, 377, 100) of the cell, where the cell's own
    border is the rounded rectangle (1, 4, 375, 93) with a corner of 7."""
    sx, sy = 773 / 377, 187 / 100
    x0, y0, x1, y1 = 1 * sx, 4 * sy, 376 * sx, 97 * sy
    radius = 7 * (sx + sy) / 2
    azure = rgb(AZURE)
    light = rgb(0x8FD0FF)

    def shader(x, y):
        d = rounded_box_distance(x, y, x0, y0, x1, y1, radius)
        pixel = (0.0, 0.0, 0.0, 0.0)
        # Glow fading out on both sides of the line.
        pixel = over(pixel, azure, 0.45 * (1 - smoothstep(0, 7, abs(d))))
        # The line itself: about 2 display pixels wide, on the border.
        pixel = over(pixel, azure, coverage(abs(d) - 3.0))
        pixel = over(pixel, light, 0.6 * coverage(abs(d) - 1.0))
        return pixel

    return shade(773, 187, shader)


def progress_pattern():
    """One 26 x 4 tile of the moving diagonal stripes of a progress bar."""
    base, stripe = rgb(0x3E9C3C), rgb(0x6FD86D)

    def shader(x, y):
        # Stripes 13 pixels wide, slanted one pixel per row; wraps every 26.
        u = (x + y) % 26
        t = 1.0 if u < 13 else 0.0
        return mix(base, stripe, t) + (1.0,)

    return shade(26, 4, shader, samples=8)


def corner_ribbon():
    """A yellow sash across a cell's top-left corner, 60 x 60.

    The cell writes "BETA" or "Custom" along it, between the diagonals
    u + v = 39.5 and u + v = 59.5 of the image."""
    yellow, light, dark = rgb(0xFBD53D), rgb(0xFFE98A), rgb(0xC9A21F)

    def shader(x, y):
        s = (x + y) / math.sqrt(2)            # distance along the normal
        near, far = 39.5 / math.sqrt(2), 59.5 / math.sqrt(2)
        d = max(near - s, s - far)
        alpha = coverage(d)
        if alpha <= 0:
            return (0, 0, 0, 0)
        t = (s - near) / (far - near)
        colour = mix(light, yellow, smoothstep(0.0, 0.35, t))
        colour = mix(colour, dark, smoothstep(0.75, 1.0, t) * 0.8)
        return colour + (alpha,)

    return shade(60, 60, shader, samples=4)


# ---------------------------------------------------------------------------

def all_images():
    images = {
        "settings_icon.png": settings_icon(),
        "logo_vamrel_dark@2x.png": word_mark(INK, GREEN),
        "logo_vamrel@2x.png": word_mark(MIST, GREEN),
        "bg_ui_standard@2x.png": picture_panel(active=False),
        "bg_ui_active@2x.png": picture_panel(active=True),
        "markering_ram@x2.png": selection_frame(),
        "progressBarPattern.png": progress_pattern(),
        "banner.png": corner_ribbon(),
        "down_arrow_standard.png": down_arrow(),
        "btn_reload@x2.png": reload_icon(),
    }
    images.update(frame_images())
    return images


def main(out_dir):
    out_dir.mkdir(parents=True, exist_ok=True)
    for name, image in sorted(all_images().items()):
        image.save(out_dir / name, optimize=True)
        print(f"{name}: {image.size[0]} x {image.size[1]}")


if __name__ == "__main__":
    main(Path(sys.argv[1]) if len(sys.argv) > 1 else REPO / "resources" / "images")
