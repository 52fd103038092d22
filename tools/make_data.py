#!/usr/bin/python3
"""Generates the game's data files under data/ and the compiled-in window icon.

Everything is drawn from code; the only outside input is Debian's DejaVu Sans Bold
(package fonts-dejavu-core).  Needs Debian's python3-pil.  The output is
deterministic: running the tool twice writes the same bytes.

Writes:
  data/cursor.png      32 x 32 arrow, tip at the top-left corner (the sprite's hot spot)
  data/menu.wav        short soft click, 16-bit PCM mono 44100 Hz
  data/font1.fnt       bitmap font description ("[GKFONT]", "Bitmap", "Char" lines)
  data/font1.png       its glyph image: white glyphs, anti-aliased alpha
  data/font2.fnt       small font for notes: "0"-"9" and "A"-"G", each in a 7 x 7 px slot
  data/font2.png       its glyph image
  data/unselect.bmp    30 x 30 cell face, plain (24-bit)
  data/select.bmp      30 x 30 cell face, highlighted (24-bit)
  data/circle2.png     30 x 30 round value button, transparent outside the circle
  data/bgp.jpg         800 x 700 background
  data/icon32.png, data/icon16.png   window icon
  src/engine/sdl/icon_pixels.inc     the same icon as RGBA byte arrays

and the high-resolution companions the engine draws on scaled-up outputs, each the same
picture at two and four times the size (every feature at its scaled place):
  data/cursor@2x.png, data/cursor@4x.png, data/circle2@2x.png, data/circle2@4x.png
  data/select@2x.bmp, data/select@4x.bmp, data/unselect@2x.bmp, data/unselect@4x.bmp
  data/font1@2x.png, data/font1@4x.png, data/font2@2x.png, data/font2@4x.png
      glyphs drawn at 2 and 4 times the font size, each centred in its rectangle of
      the 1x description scaled by the factor, so the one description serves all three
  data/bgp@2x.jpg      1600 x 1400 (no 4x: its lattice and gradient gain little from it,
                       and a 3200 x 2800 texture would take 36 MB)
  data/icon64.png, data/icon128.png   the icon at 2x and 4x, for the desktop's icon theme

and for each of the dark and high-contrast themes the cursor, the cell faces, the value
button and the background with their companions, drawn in the theme's colours under the
theme's suffix: data/select-dark.bmp, data/select-dark@2x.bmp, data/bgp-high-contrast.jpg, ...

Usage: /usr/bin/python3 tools/make_data.py
"""

import io
import math
import os
import struct
import sys
import wave

from PIL import Image, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "data")
ICON_INCLUDE = os.path.join(ROOT, "src", "engine", "sdl", "icon_pixels.inc")
FONT_FILE = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

# Font geometry.  A cell value is drawn with its line top at cell y + 3 and its pen at
# cell x + 7; with the baseline 21 px below the line top the 18 px capitals and digits
# sit vertically centred in the 30 px cell (ink rows 6..23).  The deepest descender of
# printable ASCII reaches 6 px below the baseline, so the line is 27 px tall: cell
# values end at row 30 at most, and menu lines 40 px apart keep a gap of 13 px.
FONT_PIXELS = 24
FONT_BASELINE = 21
FONT_LINE_HEIGHT = 27
ATLAS_WIDTH = 256
ATLAS_PADDING = 2  # transparent pixels between glyphs, so bilinear sampling never bleeds
# A glyph drawn at 2x or 4x is a little wider or narrower than its 1x rectangle scaled
# (the 1x glyph is hinted to whole pixels); at most this share of its ink may be cut off.
MAX_INK_LOST = 0.03  # "(" at 2x: 15 px of ink in a 14 px box loses 2.6 %

# Notes font.  A cell shows its notes in a 4 x 4 layout of 7 x 7 px slots inside the 1 px
# edge of the 30 x 30 face.  At 8 px DejaVu Sans Bold draws digits and capitals 6 px tall
# and at most 7 px wide; with the baseline at the slot's bottom row, a blank row above each
# glyph keeps the rows of notes apart.  Larger sizes make the rows touch and read worse.
NOTES_FONT_PIXELS = 8
NOTES_SLOT = 7
NOTES_FONT_CHARACTERS = "0123456789ABCDEFG"
NOTES_ATLAS_WIDTH = 64

SUPERSAMPLE = 8  # shapes are drawn this many times larger, then box-filtered down

COMPANION_FACTORS = (2, 4)


def companion_name(name, factor):
    """font1.png -> font1@2x.png: the name the engine looks for beside the 1x image."""
    stem, extension = os.path.splitext(name)
    return "%s@%dx%s" % (stem, factor, extension) if factor > 1 else name


def lerp(a, b, t):
    return a + (b - a) * t


def mix_rgb(c1, c2, t):
    return tuple(int(round(lerp(a, b, t))) for a, b in zip(c1, c2))


def clamp01(t):
    return 0.0 if t < 0.0 else 1.0 if t > 1.0 else t


def save_image(image, name, kind, **options):
    buffer = io.BytesIO()
    image.save(buffer, kind, **options)
    write_if_changed(os.path.join(DATA, name), buffer.getvalue())


def save_png(image, name):
    save_image(image, name, "PNG", optimize=False, compress_level=9)


def downsample(image, size):
    """Box-filters a supersampled image down to size x size (exact area average)."""
    return image.resize((size, size), Image.BOX)


def write_if_changed(path, data):
    """Writes bytes only when they differ, so a rerun without changes touches nothing
    (and the build does not copy the data files again)."""
    if os.path.exists(path):
        with open(path, "rb") as existing:
            if existing.read() == data:
                return
    with open(path, "wb") as out:
        out.write(data)


# --- themes -------------------------------------------------------------------

# What each theme's images are drawn in.  The classic look is the game's own; the dark
# and high-contrast themes draw the same shapes in their colours, beside it under the
# theme's suffix (select-dark.bmp, select-dark@2x.bmp, ...).  The cell faces carry the
# colours the texts are checked against (src/gfx/themes.h names the texts' colours):
# plain and hovered face, each (top, bottom, light edge, dark edge).
CLASSIC = {
    "plain_face": ((250, 249, 245), (234, 233, 228), (255, 255, 255), (168, 170, 178)),
    "hovered_face": ((255, 236, 164), (250, 214, 118), (255, 248, 214), (196, 152, 56)),
    "button": ((255, 255, 255), (196, 204, 220), (128, 138, 158)),  # light, shaded, rim
    # outline, fill at the top and bottom, shadow colour and strength (of 255)
    "cursor": ((24, 28, 36), (255, 255, 255), (226, 232, 240), (0, 0, 0), 90),
    # gradient's top-left and bottom-right, the glow behind the board, the lattice's strength
    "background": ((10, 30, 52), (6, 56, 64), (22, 74, 92), 1.0),
}
THEMES = {
    "dark": {
        # Dark slate faces under light text; the hovered face a dark amber, told from
        # the plain one by hue and lightness; the ring's buttons dark under light labels.
        "plain_face": ((38, 42, 51), (30, 33, 41), (58, 63, 75), (14, 16, 20)),
        "hovered_face": ((60, 50, 26), (50, 41, 20), (96, 80, 40), (26, 21, 10)),
        "button": ((62, 68, 82), (40, 44, 54), (150, 160, 180)),
        "cursor": ((8, 10, 14), (236, 239, 244), (200, 208, 220), (0, 0, 0), 140),
        "background": ((12, 14, 20), (18, 22, 30), (28, 33, 44), 0.8),
    },
    "high-contrast": {
        # Black faces with grey grooves, white and yellow text; the hovered face a dark
        # purple; the buttons black with a white rim; a black background without lattice;
        # a yellow cursor with a black outline that shows on black and white alike.
        "plain_face": ((0, 0, 0), (0, 0, 0), (150, 150, 150), (90, 90, 90)),
        "hovered_face": ((50, 0, 50), (50, 0, 50), (200, 120, 200), (110, 40, 110)),
        "button": ((0, 0, 0), (0, 0, 0), (255, 255, 255)),
        "cursor": ((0, 0, 0), (255, 255, 0), (255, 255, 0), (255, 255, 255), 160),
        "background": ((0, 0, 0), (0, 0, 0), (0, 0, 0), 0.0),
    },
}


def theme_look(theme):
    return CLASSIC if theme is None else THEMES[theme]


def theme_name(name, theme):
    """select.bmp -> select-dark.bmp: a theme's image beside the classic one."""
    if theme is None:
        return name
    stem, extension = os.path.splitext(name)
    return "%s-%s%s" % (stem, theme, extension)


# --- cursor.png ---------------------------------------------------------------

# The tip sits on the corner (0, 0), the sprite's hot spot, so the arrow points exactly
# at the mouse position.
CURSOR_SHAPE = [(0.0, 0.0), (0.0, 22.0), (5.2, 17.4), (9.0, 26.0), (13.0, 24.2),
                (9.4, 15.9), (16.2, 15.6)]


def erode(image, radius):
    """Shrinks the light parts by radius pixels (a square of 2 * radius + 1), in 3 x 3
    steps: the same pixels as one MinFilter of that size, at a fraction of its cost."""
    for _ in range(radius):
        image = image.filter(ImageFilter.MinFilter(3))
    return image


def make_cursor(factor=1, theme=None):
    t = theme_look(theme)
    outline_rgb, fill_top, fill_bottom, shadow_rgb, shadow_strength = t["cursor"]
    s = SUPERSAMPLE * factor
    size = 32 * s
    shape = Image.new("L", (size, size), 0)
    ImageDraw.Draw(shape).polygon([(x * s, y * s) for x, y in CURSOR_SHAPE], fill=255)
    # The light fill is the shape shrunk by about 1.4 px; the ring left over is the outline.
    fill = erode(shape, int(1.4 * s))
    # Soft shadow down and to the right, for contrast on light cells.
    shadow = Image.new("L", (size, size), 0)
    shadow.paste(shape, (int(1.2 * s), int(1.6 * s)))
    shadow = shadow.filter(ImageFilter.GaussianBlur(1.2 * s)).point(lambda v: v * shadow_strength // 255)

    image = Image.new("RGBA", (size, size), shadow_rgb + (0,))
    image.putalpha(shadow)
    image.paste(outline_rgb + (255,), (0, 0), shape)
    # Light fill with a faint top-to-bottom shade.
    gradient = Image.new("RGBA", (size, size))
    gradient.putdata([fill_top + (255,) if y < size // 3 else
                      mix_rgb(fill_top, fill_bottom, (y - size / 3) / (size * 2 / 3)) + (255,)
                      for y in range(size) for _ in range(size)])
    image.paste(gradient, (0, 0), fill)
    save_png(downsample(image, 32 * factor), companion_name(theme_name("cursor.png", theme), factor))


# --- menu.wav -----------------------------------------------------------------

def make_click():
    """A soft wooden-sounding tick: two damped sines with a short fade-in, 45 ms."""
    rate = 44100
    count = int(rate * 0.045)
    frames = bytearray()
    for n in range(count):
        t = n / rate
        attack = clamp01(t / 0.0015)
        body = math.exp(-t / 0.009)
        tail = clamp01((0.045 - t) / 0.006)  # ends exactly at silence
        tone = 0.65 * math.sin(2 * math.pi * 1350 * t) + 0.35 * math.sin(2 * math.pi * 2700 * t + 0.6)
        sample = int(round(0.30 * 32767 * attack * body * tail * tone))
        frames += struct.pack("<h", sample)
    buffer = io.BytesIO()
    with wave.open(buffer, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(bytes(frames))
    write_if_changed(os.path.join(DATA, "menu.wav"), buffer.getvalue())


# --- bitmap fonts: font1 (menus, cell values) and font2 (notes) --------------

class FontGeometry:
    """Where glyphs sit in their line box: every glyph rectangle is line_height tall with
    the baseline baseline pixels below its top, so glyphs drawn on one pen y line up."""

    def __init__(self, pixels, baseline, line_height):
        self.pixels = pixels
        self.baseline = baseline
        self.line_height = line_height


def render_glyph(font, ch, geometry):
    """Returns (image column strip L, pre-offset, post-offset) for one character.

    The strip is the line box's height with the baseline at its place and spans the
    glyph's inked columns; the offsets place it on an integer pen advance."""
    origin = geometry.pixels
    margin = geometry.line_height  # room above and below the line box, to see any overhang
    canvas = Image.new("L", (geometry.pixels * 4, geometry.line_height + 2 * margin), 0)
    ImageDraw.Draw(canvas).text((origin, margin + geometry.baseline), ch, font=font, fill=255, anchor="ls")
    advance = int(round(font.getlength(ch)))
    box = canvas.getbbox()
    if box is None:  # space: one transparent column, the rest of the advance after it
        return Image.new("L", (1, geometry.line_height), 0), 0, advance - 1
    left, top, right, bottom = box
    if top < margin or bottom > margin + geometry.line_height or left == 0 or right == canvas.width:
        sys.exit("glyph %r does not fit its line box; adjust the font geometry" % ch)
    strip = canvas.crop((left, margin, right, margin + geometry.line_height))
    pre = left - origin
    return strip, pre, advance - pre - strip.width


def render_scaled_glyph(font, ch, geometry, factor, width):
    """The glyph drawn by font (factor times the 1x size) into a box factor times its
    1x rectangle, width x the line height: the baseline at its scaled place and the ink
    centred across (the 1x rectangle spans exactly the 1x ink).  Returns the box and the
    share of the ink that falls outside it."""
    box_width, box_height = width * factor, geometry.line_height * factor
    margin = box_height
    canvas = Image.new("L", (box_width + font.size * 2 + 2 * margin, box_height + 2 * margin), 0)
    ImageDraw.Draw(canvas).text((margin, margin + geometry.baseline * factor), ch, font=font, fill=255,
                                anchor="ls")
    ink = canvas.getbbox()
    if ink is None:
        return Image.new("L", (box_width, box_height), 0), 0.0
    left = ink[0] - (box_width - (ink[2] - ink[0])) // 2
    box = canvas.crop((left, margin, left + box_width, margin + box_height))
    total = sum(canvas.histogram()[v] * v for v in range(256))
    kept = sum(box.histogram()[v] * v for v in range(256))
    return box, (total - kept) / total


def write_font_companion(name, placed, geometry, atlas_size, factor):
    """name@<factor>x.png: every glyph of the 1x atlas redrawn at factor times the font
    size into its rectangle scaled by factor, so the 1x description serves it too."""
    font = ImageFont.truetype(FONT_FILE, geometry.pixels * factor, layout_engine=ImageFont.Layout.BASIC)
    alpha = Image.new("L", (atlas_size[0] * factor, atlas_size[1] * factor), 0)
    worst = (0.0, " ")
    for code, gx, gy, strip, _, _ in placed:
        box, lost = render_scaled_glyph(font, chr(code), geometry, factor, strip.width)
        alpha.paste(box, (gx * factor, gy * factor))
        worst = max(worst, (lost, chr(code)))
    if worst[0] > MAX_INK_LOST:
        sys.exit("%s at %dx: glyph %r loses %.1f %% of its ink to its rectangle"
                 % (name, factor, worst[1], 100 * worst[0]))
    atlas = Image.new("RGBA", alpha.size, (255, 255, 255, 0))
    atlas.putalpha(alpha)
    save_png(atlas, companion_name(name + ".png", factor))


def write_font(name, glyphs, geometry, atlas_width, comment):
    """Packs the glyphs into name.png and describes them in name.fnt; draws the
    companions of name.png.

    glyphs: (code, strip, pre, post) in the order they are written."""
    # Shelf packing, left to right, row after row, padding around every glyph.
    placed = []
    x, y = ATLAS_PADDING, ATLAS_PADDING
    for code, strip, pre, post in glyphs:
        if x + strip.width + ATLAS_PADDING > atlas_width:
            x = ATLAS_PADDING
            y += geometry.line_height + ATLAS_PADDING
        placed.append((code, x, y, strip, pre, post))
        x += strip.width + ATLAS_PADDING
    height = y + geometry.line_height + ATLAS_PADDING
    atlas_height = 1
    while atlas_height < height:
        atlas_height *= 2

    alpha = Image.new("L", (atlas_width, atlas_height), 0)
    for code, gx, gy, strip, _, _ in placed:
        alpha.paste(strip, (gx, gy))
    atlas = Image.new("RGBA", alpha.size, (255, 255, 255, 0))
    atlas.putalpha(alpha)
    save_png(atlas, name + ".png")

    lines = ["[GKFONT]", "; " + comment, "Bitmap=%s.png" % name]
    for code, gx, gy, strip, pre, post in placed:
        lines.append("Char=%02X,%d,%d,%d,%d,%d,%d" % (code, gx, gy, strip.width, geometry.line_height, pre, post))
    lines.append("; end")
    write_if_changed(os.path.join(DATA, name + ".fnt"), ("\n".join(lines) + "\n").encode("ascii"))
    for factor in COMPANION_FACTORS:
        write_font_companion(name, placed, geometry, alpha.size, factor)


def make_font():
    geometry = FontGeometry(FONT_PIXELS, FONT_BASELINE, FONT_LINE_HEIGHT)
    font = ImageFont.truetype(FONT_FILE, FONT_PIXELS, layout_engine=ImageFont.Layout.BASIC)
    glyphs = [(code,) + render_glyph(font, chr(code), geometry) for code in range(32, 127)]
    write_font("font1", glyphs, geometry, ATLAS_WIDTH,
               "DejaVu Sans Bold %d px, line height %d, baseline %d; made by tools/make_data.py"
               % (FONT_PIXELS, FONT_LINE_HEIGHT, FONT_BASELINE))


def make_notes_font():
    """Every glyph gets an advance of exactly one note slot with its ink centred in it, so
    a note drawn with its pen at the slot's top-left corner sits in the middle of the slot."""
    geometry = FontGeometry(NOTES_FONT_PIXELS, NOTES_SLOT, NOTES_SLOT)
    font = ImageFont.truetype(FONT_FILE, NOTES_FONT_PIXELS, layout_engine=ImageFont.Layout.BASIC)
    glyphs = []
    for ch in NOTES_FONT_CHARACTERS:
        strip, _, _ = render_glyph(font, ch, geometry)
        if strip.width > NOTES_SLOT:
            sys.exit("note glyph %r is wider than its slot" % ch)
        pre = (NOTES_SLOT - strip.width) // 2
        glyphs.append((ord(ch), strip, pre, NOTES_SLOT - strip.width - pre))
    write_font("font2", glyphs, geometry, NOTES_ATLAS_WIDTH,
               "DejaVu Sans Bold %d px for notes: %d x %d px slots, baseline at the slot's bottom;"
               " made by tools/make_data.py" % (NOTES_FONT_PIXELS, NOTES_SLOT, NOTES_SLOT))


# --- unselect.bmp and select.bmp ----------------------------------------------

def make_cell_face(name, top, bottom, light_edge, dark_edge, factor=1):
    """A 30 x 30 face: vertical gradient, 1 px light top/left and dark bottom/right.
    At factor 2 or 4 the same face with every pixel factor x factor (the gradient runs
    on at the finer rows).

    Cells of a box touch, so a dark right edge next to the neighbour's light left edge
    reads as a fine groove between them."""
    k = factor
    size = 30 * k
    face = Image.new("RGB", (size, size))
    face.putdata([mix_rgb(top, bottom, clamp01(((y + 0.5) / k - 0.5) / 29.0)) for y in range(size)
                  for _ in range(size)])
    draw = ImageDraw.Draw(face)
    draw.rectangle([0, 0, k - 1, size - 1], fill=light_edge)
    draw.rectangle([0, 0, size - 1, k - 1], fill=light_edge)
    draw.rectangle([k, size - k, size - 1, size - 1], fill=dark_edge)
    draw.rectangle([size - k, k, size - 1, size - 1], fill=dark_edge)
    save_image(face, companion_name(name, factor), "BMP")


def make_cell_faces(factor=1, theme=None):
    t = theme_look(theme)
    make_cell_face(theme_name("unselect.bmp", theme), *t["plain_face"], factor)
    make_cell_face(theme_name("select.bmp", theme), *t["hovered_face"], factor)


# --- circle2.png --------------------------------------------------------------

def make_circle(factor=1, theme=None):
    t = theme_look(theme)
    light, shaded, rim_rgb = t["button"]
    s = SUPERSAMPLE * factor
    size = 30 * s
    centre = 15.0 * s
    radius = 14.4 * s
    rim = 1.1 * s
    highlight = (11.0 * s, 9.5 * s)
    pixels = []
    for py in range(size):
        for px in range(size):
            x, y = px + 0.5, py + 0.5
            distance = math.hypot(x - centre, y - centre)
            if distance > radius:
                pixels.append(rim_rgb + (0,))
                continue
            shade = clamp01(math.hypot(x - highlight[0], y - highlight[1]) / (1.45 * radius))
            colour = mix_rgb(light, shaded, shade * shade)
            if distance > radius - rim:
                colour = rim_rgb
            pixels.append(colour + (255,))
    image = Image.new("RGBA", (size, size))
    image.putdata(pixels)
    save_png(downsample(image, 30 * factor), companion_name(theme_name("circle2.png", theme), factor))


# --- bgp.jpg ------------------------------------------------------------------

BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def make_background(factor=1, theme=None):
    """Deep blue-teal: a diagonal gradient, a soft glow behind the board, a darker rim,
    and a faint lattice of 4 x 4 boxes echoing the board.  Ordered dither keeps the slow
    gradient free of bands.  At factor 2 the gradients run on at the finer pixels and
    every lattice line is 2 px wide."""
    k = factor
    width, height = 800, 700
    top_left, bottom_right, glow, lattice_gain = theme_look(theme)["background"]
    lattice = 64  # pixels per box of the lattice
    pixels = []
    for oy in range(height * k):
        y = (oy + 0.5) / k - 0.5
        for ox in range(width * k):
            x = (ox + 0.5) / k - 0.5
            t = (0.45 * x / width) + (0.55 * y / height)
            r, g, b = (lerp(c1, c2, t) for c1, c2 in zip(top_left, bottom_right))
            dx, dy = (x - 400) / 430.0, (y - 350) / 380.0
            d2 = dx * dx + dy * dy
            light = math.exp(-d2 * 1.6) * 0.55
            r, g, b = lerp(r, glow[0], light), lerp(g, glow[1], light), lerp(b, glow[2], light)
            dark = 1.0 - 0.30 * clamp01(d2 - 0.35)
            # Lattice: thin lines every 16 px, slightly stronger every 64 px, fading
            # towards the middle so the board area stays clean.
            lx, ly = (ox // k + 16) % lattice, (oy // k + 30) % lattice
            fine = (lx % 16 == 0) or (ly % 16 == 0)
            bold = lx == 0 or ly == 0
            strength = (6.0 if bold else 2.5 if fine else 0.0) * clamp01(0.25 + 0.9 * d2) * lattice_gain
            dither = (BAYER4[oy & 3][ox & 3] + 0.5) / 16.0 - 0.5
            pixels.append(tuple(int(min(255.0, max(0.0, math.floor(c * dark + strength + dither + 0.5))))
                                for c in (r, g, b)))
    image = Image.new("RGB", (width * k, height * k))
    image.putdata(pixels)
    save_image(image, companion_name(theme_name("bgp.jpg", theme), factor), "JPEG", quality=92, subsampling=0,
               optimize=False)


# --- window icon --------------------------------------------------------------

ICON_FRAME = (16, 64, 86, 255)
ICON_FACE = (250, 249, 245, 255)
ICON_THIN = (186, 190, 198, 255)
ICON_THICK = (40, 62, 84, 255)
ICON_MARKS = [(0, 0, (0, 0, 221, 255)), (1, 2, (0, 0, 221, 255)), (2, 1, (238, 0, 0, 255)),
              (3, 3, (0, 0, 221, 255)), (0, 3, (30, 30, 30, 255)), (3, 0, (232, 176, 40, 255)),
              (2, 2, (30, 30, 30, 255))]


def icon_geometry(size):
    """Cell size, mark inset, line widths, grid size and grid start of the icon."""
    cell, inset = (6, 1) if size == 32 else (2, 0)
    lines = [1, 1, 2, 1, 1]  # outer, thin, box, thin, outer
    grid = 4 * cell + sum(lines)
    return cell, inset, lines, grid, (size - grid) // 2


def draw_icon(size):
    """A rounded teal tile holding a white 4 x 4 grid (thin lines inside the 2 x 2 boxes,
    a double-width line between them) with a few coloured values.  Drawn pixel by pixel
    so it stays crisp: 32 px has 6 px cells, 16 px has 2 px cells."""
    cell, inset, lines, grid, start = icon_geometry(size)
    cell_starts = []
    position = start
    for i in range(4):
        position += lines[i]
        cell_starts.append(position)
        position += cell
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle([0, 0, size - 1, size - 1], radius=5 if size == 32 else 3, fill=ICON_FRAME)
    # The grid starts dark; thin lines are then lightened and the faces painted over it.
    draw.rectangle([start, start, start + grid - 1, start + grid - 1], fill=ICON_THICK)
    for i in (1, 3):
        p = cell_starts[i] - 1
        draw.line([(p, start + 1), (p, start + grid - 2)], fill=ICON_THIN)
        draw.line([(start + 1, p), (start + grid - 2, p)], fill=ICON_THIN)
    for y0 in cell_starts:
        for x0 in cell_starts:
            draw.rectangle([x0, y0, x0 + cell - 1, y0 + cell - 1], fill=ICON_FACE)
    for row, column, colour in ICON_MARKS:
        x0 = cell_starts[column] + inset
        y0 = cell_starts[row] + inset
        draw.rectangle([x0, y0, x0 + cell - 1 - 2 * inset, y0 + cell - 1 - 2 * inset], fill=colour)
    return image


def make_icon(size):
    image = draw_icon(size)
    save_png(image, "icon%d.png" % size)
    return image


def make_large_icon(factor):
    """The 32 px icon at factor times the size, for the desktop's icon theme: the grid
    pixel for pixel enlarged (it stays crisp), the tile's rounded corners drawn smooth."""
    small = draw_icon(32)
    size = 32 * factor
    s = SUPERSAMPLE
    tile = Image.new("L", (size * s, size * s), 0)
    ImageDraw.Draw(tile).rounded_rectangle([0, 0, size * s - 1, size * s - 1], radius=5.5 * factor * s, fill=255)
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    image.paste(ICON_FRAME, (0, 0), downsample(tile, size))
    _, _, _, grid, start = icon_geometry(32)
    inner = small.crop((start, start, start + grid, start + grid)).resize((grid * factor,) * 2, Image.NEAREST)
    image.paste(inner, (start * factor, start * factor))
    save_png(image, "icon%d.png" % size)


def c_array(name, image):
    data = image.tobytes()
    rows = ["    " + ", ".join("0x%02X" % b for b in data[i:i + 16]) + ","
            for i in range(0, len(data), 16)]
    return ("static const unsigned char %s[%d * %d * 4] = {\n" % (name, image.width, image.height)
            + "\n".join(rows) + "\n};\n")


def write_icon_include(icon32, icon16):
    text = ("// Window icon (icon resource 103) as RGBA bytes, row-major, compiled into the engine.\n"
            "// Generated by tools/make_data.py together with data/icon32.png and data/icon16.png;\n"
            "// edit the tool, not this file.\n"
            "#pragma once\n"
            "// clang-format off\n"
            "constexpr int kIcon32Size = 32;\n"
            "constexpr int kIcon16Size = 16;\n"
            + c_array("kIcon32Rgba", icon32) + c_array("kIcon16Rgba", icon16)
            + "// clang-format on\n")
    write_if_changed(ICON_INCLUDE, text.encode("ascii"))


def main():
    if not os.path.exists(FONT_FILE):
        sys.exit("missing %s (apt-get install fonts-dejavu-core)" % FONT_FILE)
    os.makedirs(DATA, exist_ok=True)
    make_click()
    make_font()
    make_notes_font()
    for theme in (None,) + tuple(THEMES):
        for factor in (1,) + COMPANION_FACTORS:
            make_cursor(factor, theme)
            make_cell_faces(factor, theme)
            make_circle(factor, theme)
        make_background(1, theme)
        make_background(2, theme)
    write_icon_include(make_icon(32).convert("RGBA"), make_icon(16).convert("RGBA"))
    for factor in COMPANION_FACTORS:
        make_large_icon(factor)


if __name__ == "__main__":
    main()
