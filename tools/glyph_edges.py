#!/usr/bin/python3
"""Measures how crisp the board's glyphs are in a screenshot of the game.

Finds the value glyphs (the 1-9, A-G drawn in the cells) and the note digits on the
board's light cell faces, and for each glyph reads every pixel of its box (the
smallest rectangle around its marked pixels) as a share t of the way from the cell
face's colour (t = 0) to the glyph's ink colour (t = 1):

  grey share   the share of the box's pixels that are grey, 0.05 < t < 0.95: neither
               ink nor background
  edge ramp    along every row and column of the box and one pixel around it, each
               step from background (t <= 0.05) to ink (t >= 0.95) or back: the number
               of grey pixels between them (0 where background meets ink), averaged
               over the glyph's edges

A glyph drawn at the output's own resolution has edges of about one grey pixel; a
small image magnified with smoothing has ramps as wide as the magnification.

Prints, for the value glyphs and for the note digits, how many were found, their size
in pixels and the median figures (with the range), plus the glyph nearest the board's
top-left corner.  Needs Debian's python3-pil and python3-numpy.

Usage: tools/glyph_edges.py SCREENSHOT.png [...]
"""

import sys

import numpy as np
from PIL import Image

# The game's picture is 800 x 700 logical pixels; a value glyph's ink is 17-18 of them
# tall, a note digit's 6.
GAME_WIDTH, GAME_HEIGHT = 800, 700
VALUE_HEIGHT = (13, 22)
NOTE_HEIGHT = (4, 8)
BACKGROUND, INK = 0.05, 0.95


def face_mask(rgb):
    """The light, nearly grey cell faces (not the bluish value ring, not the menus)."""
    low = rgb.min(axis=2)
    spread = rgb.max(axis=2).astype(int) - low
    return (low >= 215) & (spread <= 14)


def board_box(faces):
    """Rows and columns where cell faces fill more than a quarter of the line."""
    rows = np.where(faces.mean(axis=1) > 0.25)[0]
    columns = np.where(faces.mean(axis=0) > 0.25)[0]
    if len(rows) == 0 or len(columns) == 0:
        return None
    return rows[0], rows[-1] + 1, columns[0], columns[-1] + 1


def components(mask):
    """8-connected components of a boolean mask, as lists of (y, x)."""
    seen = np.zeros(mask.shape, bool)
    height, width = mask.shape
    found = []
    for start in zip(*np.nonzero(mask)):
        if seen[start]:
            continue
        seen[start] = True
        stack, pixels = [start], []
        while stack:
            y, x = stack.pop()
            pixels.append((y, x))
            for ny in (y - 1, y, y + 1):
                for nx in (x - 1, x, x + 1):
                    if 0 <= ny < height and 0 <= nx < width and mask[ny, nx] and not seen[ny, nx]:
                        seen[ny, nx] = True
                        stack.append((ny, nx))
        found.append(pixels)
    return found


def shares(rgb, faces, box):
    """t for every pixel of box (y0, y1, x0, x1), from the face colour around it to the
    glyph's ink colour; None when the box does not lie on a cell face."""
    y0, y1, x0, x1 = box
    ring = np.zeros(faces.shape, bool)
    ring[y0 - 2:y1 + 2, x0 - 2:x1 + 2] = True
    ring[y0:y1, x0:x1] = False
    if faces[ring].mean() < 0.9:
        return None
    background = np.median(rgb[ring & faces], axis=0)
    pixels = rgb[y0:y1, x0:x1].astype(float)
    distance = np.linalg.norm(pixels - background, axis=2)
    ink = pixels[distance >= 0.9 * distance.max()].mean(axis=0)
    direction = ink - background
    t = ((pixels - background) @ direction) / (direction @ direction)
    return np.clip(t, 0.0, 1.0)


def edge_ramps(t):
    """Grey pixels between background and ink along every row and column of t."""
    ramps = []
    for line in list(t) + list(t.T):
        last_kind, grey = None, 0
        for value in line:
            if value <= BACKGROUND or value >= INK:
                kind = value >= INK
                if last_kind is not None and kind != last_kind:
                    ramps.append(grey)
                last_kind, grey = kind, 0
            else:
                grey += 1
    return ramps


def measure(path):
    rgb = np.asarray(Image.open(path).convert("RGB"))
    scale = min(rgb.shape[1] / GAME_WIDTH, rgb.shape[0] / GAME_HEIGHT)
    faces = face_mask(rgb)
    box = board_box(faces)
    if box is None:
        print("%s: no board found" % path)
        return
    by0, by1, bx0, bx1 = box
    glyphs = {"value glyphs": [], "note digits": []}
    board = rgb[by0:by1, bx0:bx1].astype(int)
    row_face = np.array([np.median(board[y][faces[by0 + y, bx0:bx1]], axis=0)
                         if faces[by0 + y, bx0:bx1].any() else (255, 255, 255) for y in range(by1 - by0)])
    marked = np.abs(board - row_face[:, None, :]).max(axis=2) > 24
    for pixels in components(marked):
        ys = [y for y, _ in pixels]
        xs = [x for _, x in pixels]
        height, width = max(ys) - min(ys) + 1, max(xs) - min(xs) + 1
        kind = ("value glyphs" if VALUE_HEIGHT[0] * scale <= height <= VALUE_HEIGHT[1] * scale else
                "note digits" if NOTE_HEIGHT[0] * scale <= height <= NOTE_HEIGHT[1] * scale else None)
        if kind is None or width > height * 1.5:
            continue
        glyph_box = (by0 + min(ys) - 1, by0 + max(ys) + 2, bx0 + min(xs) - 1, bx0 + max(xs) + 2)
        t = shares(rgb, faces, glyph_box)
        if t is None:
            continue
        inner = t[1:-1, 1:-1]
        grey = ((inner > BACKGROUND) & (inner < INK)).sum() / inner.size
        ramps = edge_ramps(t)
        glyphs[kind].append((glyph_box, width, height, grey, float(np.mean(ramps)) if ramps else 0.0))
    print("%s: %d x %d, the game scaled %.3f times" % (path, rgb.shape[1], rgb.shape[0], scale))
    for kind, found in glyphs.items():
        if not found:
            print("  %s: none found" % kind)
            continue
        grey = sorted(g[3] for g in found)
        ramp = sorted(g[4] for g in found)
        widths = sorted(g[1] for g in found)
        heights = sorted(g[2] for g in found)
        print("  %s: %d found, %d x %d px (median), grey share %.1f %% (%.1f-%.1f), edge ramp %.2f px (%.2f-%.2f)"
              % (kind, len(found), widths[len(found) // 2], heights[len(found) // 2], 100 * grey[len(grey) // 2],
                 100 * grey[0], 100 * grey[-1], ramp[len(ramp) // 2], ramp[0], ramp[-1]))
        first = min(found, key=lambda g: (g[0][2] + g[0][0]))
        print("    first, at x %d y %d: %d x %d px, grey share %.1f %%, edge ramp %.2f px"
              % (first[0][2], first[0][0], first[1], first[2], 100 * first[3], first[4]))


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    for path in sys.argv[1:]:
        measure(path)


if __name__ == "__main__":
    main()
