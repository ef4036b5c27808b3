#!/usr/bin/env python3
"""Draws the program's icon and writes it as a Windows .ico file.

The picture: a blue disc with a white "play" triangle, at 16, 32 and 48
pixels, 32-bit colour with alpha, edges smoothed by 4x4 supersampling.
Usage: make_icon.py OUTPUT.ico
"""
import math
import struct
import sys

BLUE = (0x1E, 0x6F, 0xD9)
WHITE = (0xFF, 0xFF, 0xFF)


def coverage(size, inside):
    """Fraction of each pixel for which inside(x, y) holds (x, y in 0..1)."""
    samples = 4
    grid = []
    for row in range(size):
        line = []
        for col in range(size):
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (col + (sx + 0.5) / samples) / size
                    y = (row + (sy + 0.5) / samples) / size
                    hits += inside(x, y)
            line.append(hits / (samples * samples))
        grid.append(line)
    return grid


def disc(x, y):
    return math.hypot(x - 0.5, y - 0.5) <= 0.47


def triangle(x, y):
    # Points (0.38, 0.28), (0.38, 0.72), (0.74, 0.5).
    if x < 0.38:
        return False
    half = 0.22 * (0.74 - x) / 0.36
    return abs(y - 0.5) <= half


def image(size):
    back = coverage(size, disc)
    front = coverage(size, triangle)
    pixels = bytearray()
    # Rows bottom-up, BGRA.
    for row in reversed(range(size)):
        for col in range(size):
            a = back[row][col]
            t = front[row][col]
            r, g, b = (BLUE[i] * (1 - t) + WHITE[i] * t for i in range(3))
            pixels += bytes((round(b), round(g), round(r), round(255 * a)))
    mask_row = ((size + 31) // 32) * 4
    mask = bytes(mask_row * size)  # all drawn through the alpha channel
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + mask


def main():
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
