#!/usr/bin/env python3
"""Draws the application icon (64 x 64): a subtitle line on a blue screen. Run once; the PNG is
committed, the build only installs it."""
import struct
import zlib

SIZE = 64
BLUE = (0, 0, 255, 255)
FRAME = (40, 44, 52, 255)
WHITE = (255, 255, 255, 255)
GREY = (128, 128, 128, 255)
BLACK = (0, 0, 0, 255)
CLEAR = (0, 0, 0, 0)

pixels = [[CLEAR] * SIZE for _ in range(SIZE)]


def fill(x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(SIZE, y1)):
        for x in range(max(0, x0), min(SIZE, x1)):
            pixels[y][x] = colour


# A rounded dark frame around a blue screen.
fill(2, 8, 62, 56, FRAME)
fill(6, 12, 58, 52, BLUE)

# Two "text lines" drawn like subtitles: black outline, grey ring, white body.
for top, left, right in ((30, 14, 50), (40, 20, 44)):
    fill(left - 3, top - 3, right + 3, top + 7, BLACK)
    fill(left - 1, top - 1, right + 1, top + 5, GREY)
    fill(left, top, right, top + 4, WHITE)


def png(rows):
    raw = b"".join(b"\x00" + b"".join(struct.pack("4B", *p) for p in row) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


with open("marvoxa.png", "wb") as out:
    out.write(png(pixels))
