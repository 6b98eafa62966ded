#!/usr/bin/env python3
"""Draws Tavrik's icons and writes them as .ico files.

    tools/make_icons.py [OUTPUT_DIR]      (default: res/ beside this folder)

res/tavrik.ico  "MYICON": a menu panel with a highlighted row and a launch
                arrow, at 16, 32 and 48 pixels, 32-bit colour with alpha.
res/mysys.ico   "MYSYS": a cog, one 32 x 32 image in 16 colours (4 bpp).

Standard library only; the output is deterministic, so re-running it on an
unchanged script leaves the files byte-for-byte the same.
"""

import math
import os
import struct
import sys

# --- a tiny anti-aliased rasteriser --------------------------------------

SUBSAMPLES = 4  # per axis


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def render(size, shapes):
    """Returns rows (top first) of (r, g, b, a) tuples."""
    n = SUBSAMPLES
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            # premultiplied accumulation, painter's order
            acc = [0.0, 0.0, 0.0, 0.0]
            for inside, (r, g, b) in shapes:
                hits = 0
                for sy in range(n):
                    for sx in range(n):
                        if inside(px + (sx + 0.5) / n, py + (sy + 0.5) / n):
                            hits += 1
                cov = hits / (n * n)
                if cov:
                    acc = [acc[0] * (1 - cov) + r * cov,
                           acc[1] * (1 - cov) + g * cov,
                           acc[2] * (1 - cov) + b * cov,
                           acc[3] * (1 - cov) + 255 * cov]
            a = acc[3]
            if a < 0.5:
                row.append((0, 0, 0, 0))
            else:
                k = 255.0 / a
                row.append(tuple(min(255, int(round(c * k))) for c in acc[:3])
                           + (int(round(a)),))
        rows.append(row)
    return rows


# --- MYICON ---------------------------------------------------------------

INK = (0x26, 0x32, 0x38)
PAPER = (0xF5, 0xF7, 0xFA)
ACCENT = (0x1E, 0x7B, 0xD6)
BAR = (0x8A, 0x96, 0xA3)
ARROW = (0xFF, 0x8F, 0x00)
ARROW_EDGE = (0x8C, 0x3A, 0x00)
SHADOW = (0x00, 0x00, 0x00)


def menu_scene(size):
    """The application icon, drawn on a 48-unit grid scaled to size."""
    s = size / 48.0
    small = size <= 16

    def rr(x0, y0, x1, y1, r):
        return rounded_rect(x0 * s, y0 * s, x1 * s, y1 * s, r * s)

    def poly(*pts):
        return polygon([(x * s, y * s) for x, y in pts])

    # A heavier outline keeps the 16-pixel image readable.
    edge = 3.0 if small else 2.0
    shapes = [
        (rr(5, 4, 37, 46, 4), (0x40, 0x48, 0x50)),                 # soft shadow
        (rr(3, 2, 35, 44, 4), INK),                                 # frame
        (rr(3 + edge, 2 + edge, 35 - edge, 44 - edge, 2.5), PAPER),  # panel
    ]
    # highlighted row across the panel
    shapes.append((rr(3 + edge, 17, 35 - edge, 28, 0.5), ACCENT))
    if small:
        bars = [(10.5, 24.0, False), (22.5, 26.0, True), (35.0, 22.0, False)]
        bar_h = 5.0
    else:
        bars = [(9.5, 24.0, False), (22.5, 26.0, True), (33.0, 22.0, False),
                (39.0, 17.0, False)]
        bar_h = 3.0
    for cy, right, lit in bars:
        shapes.append((rr(10, cy - bar_h / 2, right, cy + bar_h / 2, bar_h / 2),
                       PAPER if lit else BAR))
    # the launch arrow leaving the highlighted row
    shapes.append((poly((27, 11), (46, 22.5), (27, 34)), ARROW_EDGE))
    shapes.append((poly((29.5, 15.5), (41.5, 22.5), (29.5, 29.5)), ARROW))
    return shapes


# --- MYSYS ----------------------------------------------------------------

# The classic 16-colour palette, as (r, g, b).
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, NAVY, SILVER, GREY, BLUE, WHITE = 0, 4, 7, 8, 12, 15
CLEAR = None


def cog_pixels(size=32):
    """Palette indices (rows top first, None = transparent) of a cog."""
    c = (size - 1) / 2.0
    teeth, tooth_r, body_r, hub_r, hole_r = 8, 15.2, 11.0, 6.6, 3.6
    half_width = 2.4

    def solid(x, y):
        dx, dy = x - c, y - c
        r = math.hypot(dx, dy)
        if r <= hole_r or r > tooth_r:
            return False
        if r <= body_r:
            return True
        angle = math.atan2(dy, dx)
        step = 2 * math.pi / teeth
        nearest = round(angle / step) * step
        # distance from the tooth's centre line
        return abs(r * math.sin(angle - nearest)) <= half_width

    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            if not solid(x, y):
                row.append(CLEAR)
                continue
            r = math.hypot(x - c, y - c)
            edge = any(not solid(x + dx, y + dy)
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if edge:
                row.append(BLACK)
            elif hole_r + 1 < r <= hub_r:
                row.append(BLUE if (x - c) + (y - c) < 0 else NAVY)
            elif r <= hole_r + 1:
                row.append(NAVY)
            else:
                # light from the top left
                shade = (x - c) + (y - c)
                row.append(WHITE if shade < -9 else GREY if shade > 9 else SILVER)
        rows.append(row)
    return rows


# --- .ico writing ---------------------------------------------------------

def _and_mask(rows, transparent):
    """1-bpp mask, bottom-up, rows padded to 32 bits; 1 = see-through."""
    size = len(rows)
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, px in enumerate(row):
            if transparent(px):
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def _dib_header(size, bpp, image_bytes, colours):
    # BITMAPINFOHEADER; the height counts the XOR and AND halves.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0,
                       image_bytes, 0, 0, colours, 0)


def image_32bpp(rows):
    size = len(rows)
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask = _and_mask(rows, lambda px: px[3] == 0)
    body = bytes(xor) + mask
    return _dib_header(size, 32, len(body), 0) + body


def image_4bpp(rows, palette):
    size = len(rows)
    stride = ((size * 4 + 31) // 32) * 4
    xor = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, idx in enumerate(row):
            idx = 0 if idx is None else idx
            line[x // 2] |= idx << (4 if x % 2 == 0 else 0)
        xor += line
    mask = _and_mask(rows, lambda px: px is None)
    quads = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    body = bytes(xor) + mask
    return _dib_header(size, 4, len(body), 16) + quads + body


def ico_file(images):
    """images: list of (size, bpp, colour_count, dib_bytes)."""
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, bpp, colours, dib in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, colours, 0, 1, bpp,
                           len(dib), offset)
        offset += len(dib)
    for _, _, _, dib in images:
        out += dib
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res")

    app = [(n, 32, 0, image_32bpp(render(n, menu_scene(n)))) for n in (16, 32, 48)]
    sysicon = [(32, 4, 16, image_4bpp(cog_pixels(32), VGA16))]

    for name, images in (("tavrik.ico", app), ("mysys.ico", sysicon)):
        path = os.path.join(out_dir, name)
        with open(path, "wb") as f:
            f.write(ico_file(images))
        print("wrote", os.path.normpath(path))


if __name__ == "__main__":
    main()
