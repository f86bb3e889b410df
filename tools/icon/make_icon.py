#!/usr/bin/env python3
"""Draws the program's icon (a note over coloured track lanes) and writes src/res/mirlka.ico.

The image is drawn with supersampling at 16x16 and 32x32 and stored as 32-bit BMP entries."""
import math
import struct
import sys

LANES = [(0xE5, 0x4B, 0x4B), (0xF2, 0xA6, 0x3A), (0x4C, 0xB0, 0x6A), (0x3B, 0x8E, 0xE0)]


def inside_round_rect(x, y, r):
    cx = min(max(x, r), 1 - r)
    cy = min(max(y, r), 1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def sample(x, y):
    """Colour (r, g, b, a) at the unit-square point (x, y), y downwards."""
    if not inside_round_rect(x, y, 0.16):
        return (0, 0, 0, 0)
    colour = (0x1F, 0x2A, 0x44)
    # Four track lanes on the left half.
    for i, lane in enumerate(LANES):
        top = 0.16 + i * 0.18
        if 0.10 <= x <= 0.46 and top <= y <= top + 0.11:
            colour = lane
    # An eighth note on the right: head, stem, flag.
    hx, hy = 0.66, 0.72
    if ((x - hx) / 0.15) ** 2 + ((y - hy) / 0.11) ** 2 <= 1:
        colour = (0xFF, 0xFF, 0xFF)
    if 0.76 <= x <= 0.82 and 0.18 <= y <= 0.72:
        colour = (0xFF, 0xFF, 0xFF)
    if 0.80 <= x <= 0.92 and 0.18 <= y <= 0.42 and (y - 0.18) <= 0.9 * (x - 0.80) + 0.06:
        colour = (0xFF, 0xFF, 0xFF)
    return colour + (255,)


def render(size, ss=6):
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(ss):
                for sx in range(ss):
                    r, g, b, a = sample((px + (sx + 0.5) / ss) / size, (py + (sy + 0.5) / ss) / size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = ss * ss
            alpha = acc[3] / n
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(round(c / acc[3])) for c in acc[:3]) + (int(round(alpha)),))
        pixels.append(row)
    return pixels


def bmp_entry(size, pixels):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(xor) + bytes(mask)


def main(out):
    sizes = [32, 16]
    entries = [bmp_entry(s, render(s)) for s in sizes]
    data = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, e in zip(sizes, entries):
        data += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(e), offset)
        offset += len(e)
    with open(out, "wb") as f:
        f.write(data + b"".join(entries))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "src/res/mirlka.ico")
