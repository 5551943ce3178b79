#!/usr/bin/env python3
"""Draws the program's own pictures: the logo shown in the main window
(img/stickers.bmp, 24-bit) and the program icon (lumigrab.ico, 16, 32 and 48
pixels). Standard library only; run by the build, output to a folder given
on the command line."""

import argparse
import os
import struct

SUBSAMPLES = 4  # per axis, for smooth edges

TEAL = (0x1F, 0xB5, 0xA6)
BLUE = (0x1E, 0x62, 0xB8)
INK = (0x26, 0x34, 0x44)
WHITE = (0xFF, 0xFF, 0xFF)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def in_rounded_rect(x, y, x0, y0, x1, y1, r):
    if not (x0 <= x < x1 and y0 <= y < y1):
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_triangle(x, y, a, b, c):
    def side(p, q):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
    s1, s2, s3 = side(a, b), side(b, c), side(c, a)
    return (s1 >= 0 and s2 >= 0 and s3 >= 0) or (s1 <= 0 and s2 <= 0 and s3 <= 0)


def badge_glyph(u, v):
    """True where the badge's white picture-and-arrow sign is, in badge
    coordinates from 0 to 1."""
    frame_out = 0.20 <= u < 0.80 and 0.20 <= v < 0.64
    frame_in = 0.27 <= u < 0.73 and 0.27 <= v < 0.57
    if frame_out and not frame_in:
        return True
    if in_triangle(u, v, (0.29, 0.57), (0.44, 0.38), (0.59, 0.57)):
        return True
    if in_triangle(u, v, (0.50, 0.57), (0.61, 0.45), (0.72, 0.57)):
        return True
    if (u - 0.62) ** 2 + (v - 0.36) ** 2 <= 0.05 ** 2:
        return True
    # The arrow down: the picture comes to you.
    if 0.455 <= u < 0.545 and 0.66 <= v < 0.76:
        return True
    return in_triangle(u, v, (0.35, 0.74), (0.65, 0.74), (0.50, 0.88))


def badge_sample(u, v):
    """Colour and coverage of the badge at (u, v) in 0..1."""
    if not in_rounded_rect(u, v, 0.0, 0.0, 1.0, 1.0, 0.2):
        return None
    if badge_glyph(u, v):
        return WHITE
    return mix(TEAL, BLUE, (u + v) / 2)


def render(width, height, sample):
    """Averages SUBSAMPLES^2 samples per pixel; sample(x, y) gives a colour or
    None (transparent). Rows top first, pixels (r, g, b, alpha)."""
    n = SUBSAMPLES
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0]
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    c = sample(px + (sx + 0.5) / n, py + (sy + 0.5) / n)
                    if c is not None:
                        hits += 1
                        for i in range(3):
                            acc[i] += c[i]
            if hits:
                row.append(tuple(int(round(a / hits)) for a in acc) + (int(round(255 * hits / (n * n))),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


# The word mark, drawn in a small pixel font: 5 columns, rows 0-6 above the
# base line, 7-8 below it.
GLYPHS = {
    "L": ["X....", "X....", "X....", "X....", "X....", "X....", "XXXXX", ".....", "....."],
    "u": [".....", ".....", "X...X", "X...X", "X...X", "X..XX", ".XX.X", ".....", "....."],
    "m": [".....", ".....", "XX.X.", "X.X.X", "X.X.X", "X.X.X", "X.X.X", ".....", "....."],
    "i": ["..X..", ".....", ".XX..", "..X..", "..X..", "..X..", ".XXX.", ".....", "....."],
    "g": [".....", ".....", ".XXXX", "X...X", "X...X", "X...X", ".XXXX", "....X", ".XXX."],
    "r": [".....", ".....", "X.XX.", "XX..X", "X....", "X....", "X....", ".....", "....."],
    "a": [".....", ".....", ".XXX.", "....X", ".XXXX", "X...X", ".XXXX", ".....", "....."],
    "b": ["X....", "X....", "X.XX.", "XX..X", "X...X", "X...X", "XXXX.", ".....", "....."],
}
WORD = "Lumigrab"
SCALE = 3
ADVANCE = 6


def word_pixel(x, y):
    """True where the word mark is, in its own pixel grid."""
    glyph, column = divmod(int(x), ADVANCE)
    if glyph >= len(WORD) or column >= 5 or not 0 <= int(y) < 9:
        return False
    return GLYPHS[WORD[glyph]][int(y)][column] == "X"


LOGO_WIDTH, LOGO_HEIGHT = 200, 44
BADGE = (2, 2, 40)  # left, top, size
WORD_LEFT, WORD_TOP = 54, 6
WORD_WIDTH = (len(WORD) * ADVANCE - 1) * SCALE
BAR_TOP, BAR_HEIGHT = 38, 2


def logo_sample(x, y):
    bx, by, size = BADGE
    if bx <= x < bx + size and by <= y < by + size:
        c = badge_sample((x - bx) / size, (y - by) / size)
        if c is not None:
            return c
    if WORD_LEFT <= x < WORD_LEFT + WORD_WIDTH:
        if word_pixel((x - WORD_LEFT) / SCALE, (y - WORD_TOP) / SCALE):
            return INK
        if BAR_TOP <= y < BAR_TOP + BAR_HEIGHT:
            return mix(TEAL, BLUE, (x - WORD_LEFT) / WORD_WIDTH)
    return WHITE


def bmp_24(rows):
    """A bottom-up 24-bit BMP file of the rows, on white."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, a in row:
            t = a / 255
            line += bytes(int(round(c * t + 255 * (1 - t))) for c in (b, g, r))
        pixels += line + bytes(stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(header)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + header + pixels


def icon_image(size):
    """One icon image: 32-bit colour with alpha, then the 1-bit AND mask."""
    rows = render(size, size, lambda x, y: badge_sample(x / size, y / size))
    colour = bytearray()
    mask = bytearray()
    mask_stride = (size + 31) // 32 * 4
    for row in reversed(rows):
        bits = 0
        line = bytearray()
        for x, (r, g, b, a) in enumerate(row):
            colour += bytes((b, g, r, a))
            if a == 0:
                bits |= 1 << (7 - x % 8)
            if x % 8 == 7 or x == size - 1:
                line.append(bits)
                bits = 0
        mask += line + bytes(mask_stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def ico(sizes):
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def write(path, data):
    # Written beside and renamed, so a build never sees half a file.
    with open(path + ".part", "wb") as f:
        f.write(data)
    os.replace(path + ".part", path)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("out", help="folder for stickers.bmp and lumigrab.ico")
    out = parser.parse_args().out
    os.makedirs(out, exist_ok=True)
    write(os.path.join(out, "stickers.bmp"), bmp_24(render(LOGO_WIDTH, LOGO_HEIGHT, logo_sample)))
    write(os.path.join(out, "lumigrab.ico"), ico([16, 32, 48]))


if __name__ == "__main__":
    main()
