#!/usr/bin/env python3
"""Draws the small shaded balls used by the help pages as PNG files.

Run once by hand when a colour changes; the PNG files are kept in the
repository so the help build needs nothing but the compiler.
"""
import math
import struct
import zlib


def png(path, size, pixel):
    rows = b""
    for y in range(size):
        rows += b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(size))

    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data
                + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(rows, 9)))
        f.write(chunk(b"IEND", b""))


def ball(rgb, size=19):
    c = (size - 1) / 2
    r = size / 2 - 0.5

    def pixel(x, y):
        d = math.hypot(x - c, y - c)
        if d > r + 0.5:
            return (0, 0, 0, 0)
        alpha = int(255 * max(0.0, min(1.0, r + 0.5 - d)))
        # light from the upper left: mix towards white near the highlight,
        # towards a darker shade at the far edge
        h = math.hypot(x - c * 0.6, y - c * 0.6) / (2 * r)
        if h < 0.35:
            t = 1 - h / 0.35
            col = [int(v + (255 - v) * t * 0.8) for v in rgb]
        else:
            t = min(1.0, (h - 0.35) / 0.8)
            col = [int(v * (1 - 0.35 * t)) for v in rgb]
        return (*col, alpha)

    return pixel


png("ball_blue.png", 19, ball((62, 128, 255)))
png("ball_pink.png", 19, ball((255, 128, 192)))
