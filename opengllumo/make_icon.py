#!/usr/bin/env python3
"""Draws the package's icon, Opengllumo.ico: one 32x32 image of 16 colours, a
grey panel with a dark frame holding a triangle shaded red, green and blue.
Run it again after changing the drawing; the build uses the committed file."""
import struct
import sys

SIZE = 32
# The 16 colours of the standard palette, as (blue, green, red, 0).
PALETTE = [
    (0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
    (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0),
    (0, 255, 255), (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255),
]
BLACK, GREY, SILVER, RED, LIME, BLUE, WHITE = 0, 8, 7, 9, 10, 12, 15


def inside(x, y, a, b, c):
    def side(p, q):
        return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])
    s = [side(a, b), side(b, c), side(c, a)]
    return all(v >= 0 for v in s) or all(v <= 0 for v in s)


def pixel(x, y):
    if x in (1, 30) or y in (1, 30):
        return BLACK
    if not (1 < x < 30 and 1 < y < 30):
        return WHITE
    top, left, right = (16, 5), (5, 26), (27, 26)
    if inside(x + 0.5, y + 0.5, top, left, right):
        # The corner nearest the pixel gives its colour.
        corners = {RED: top, LIME: left, BLUE: right}
        return min(corners, key=lambda k: (corners[k][0] - x) ** 2 + (corners[k][1] - y) ** 2)
    return SILVER if y < 16 else GREY


def image():
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor = bytearray()
    for y in range(SIZE - 1, -1, -1):  # bottom row first
        for x in range(0, SIZE, 2):
            xor.append(pixel(x, y) << 4 | pixel(x + 1, y))
    mask = bytes(SIZE * SIZE // 8)  # every pixel opaque
    return header + colours + bytes(xor) + mask


def main(path):
    body = image()
    icon = struct.pack('<HHH', 0, 1, 1)
    icon += struct.pack('<BBBBHHII', SIZE, SIZE, 16, 0, 1, 4, len(body), 6 + 16)
    with open(path, 'wb') as f:
        f.write(icon + body)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'Opengllumo.ico')
