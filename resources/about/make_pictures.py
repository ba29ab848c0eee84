#!/usr/bin/env python3
"""Draws the About window's two pictures with the standard library alone.

Run once from this folder (python3 make_pictures.py); the PNGs it writes are committed and
built into the program, so the build itself never draws anything.
"""

import math
import struct
import zlib


def write_png(path, width, height, pixels):
    """pixels: rows of (r, g, b) tuples."""
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", header))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def coverage(inside, x, y, samples=4):
    """Share of pixel (x, y) for which inside(px, py) holds, for smooth edges."""
    hits = 0
    for i in range(samples):
        for j in range(samples):
            if inside(x + (i + 0.5) / samples, y + (j + 0.5) / samples):
                hits += 1
    return hits / (samples * samples)


def rounded_rect(left, top, right, bottom, radius):
    def inside(px, py):
        cx = min(max(px, left + radius), right - radius)
        cy = min(max(py, top + radius), bottom - radius)
        return (px - cx) ** 2 + (py - cy) ** 2 <= radius**2 and left <= px <= right and top <= py <= bottom

    return inside


def disc_picture():
    """78 x 99: a disc over a subtitle band; only the top 81 rows show in the window."""
    width, height = 78, 99
    sky_top, sky_bottom = (36, 62, 120), (120, 160, 215)
    cx, cy, outer, inner = 39.0, 37.0, 31.0, 6.0
    band = rounded_rect(6, 67, 72, 79, 3)
    line = rounded_rect(16, 70, 62, 76, 2.5)
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            colour = mix(sky_top, sky_bottom, y / (height - 1))
            ring = coverage(lambda px, py: inner**2 <= (px - cx) ** 2 + (py - cy) ** 2 <= outer**2, x, y)
            if ring:
                angle = math.atan2(y + 0.5 - cy, x + 0.5 - cx)
                # A silver face with a soft sheen that turns with the angle.
                sheen = 0.5 + 0.5 * math.cos(2 * angle - 0.6)
                face = mix((150, 158, 172), (236, 240, 248), sheen)
                tint = mix(face, (200, 170, 230), max(0.0, math.sin(3 * angle)) * 0.25)
                colour = mix(colour, tint, ring)
            rim = coverage(lambda px, py: abs(math.hypot(px - cx, py - cy) - outer) <= 0.6, x, y)
            colour = mix(colour, (70, 80, 100), rim)
            hub = coverage(lambda px, py: inner <= math.hypot(px - cx, py - cy) <= inner + 4, x, y)
            colour = mix(colour, (205, 210, 220), hub)
            colour = mix(colour, (20, 24, 40), coverage(band, x, y) * 0.85)
            colour = mix(colour, (250, 250, 235), coverage(line, x, y))
            row.append(colour)
        rows.append(row)
    return width, height, rows


GLYPHS = {
    "D": ["1110 ", "1  1 ", "1  1 ", "1  1 ", "1  1 ", "1  1 ", "1110 "],
    "O": [" 11  ", "1  1 ", "1  1 ", "1  1 ", "1  1 ", "1  1 ", " 11  "],
    "N": ["1   1", "11  1", "1 1 1", "1 1 1", "1  11", "1   1", "1   1"],
    "A": [" 11  ", "1  1 ", "1  1 ", "1111 ", "1  1 ", "1  1 ", "1  1 "],
    "T": ["11111", "  1  ", "  1  ", "  1  ", "  1  ", "  1  ", "  1  "],
    "E": ["1111 ", "1    ", "1    ", "111  ", "1    ", "1    ", "1111 "],
}


def donate_picture():
    """62 x 30: a rounded yellow button with DONATE in bold capitals."""
    width, height = 62, 30
    outer = rounded_rect(0.5, 0.5, 61.5, 29.5, 9)
    face = rounded_rect(1.5, 1.5, 60.5, 28.5, 8)
    ink = (16, 40, 110)
    text = set()
    x0, y0 = 9, 11
    for letter in "DONATE":
        glyph = GLYPHS[letter]
        glyph_width = max(len(r.rstrip()) for r in glyph)
        for gy, glyph_row in enumerate(glyph):
            for gx, bit in enumerate(glyph_row):
                if bit == "1":
                    # Bold: every dot two pixels wide.
                    text.add((x0 + gx, y0 + gy))
                    text.add((x0 + gx + 1, y0 + gy))
        x0 += glyph_width + 2
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            colour = (255, 255, 255)
            colour = mix(colour, (190, 130, 20), coverage(outer, x, y))
            colour = mix(colour, mix((255, 222, 110), (250, 176, 40), y / height), coverage(face, x, y))
            if (x, y) in text:
                colour = ink
            row.append(colour)
        rows.append(row)
    return width, height, rows


if __name__ == "__main__":
    write_png("disc.png", *disc_picture())
    write_png("donate.png", *donate_picture())
