#!/usr/bin/env python3
"""Draws the library's bitmaps and cursors: the eight direction arrows of the emboss and
motion blur dialogs (24 x 24, 24-bit) and the two cursors (32 x 32, monochrome): a cross for
the curve editor and a four-way move arrow for panning a preview. Run it after changing a
drawing; its output files are kept in the tree beside it."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write_bmp(path, size, pixel):
    """A bottom-up 24-bit BMP; pixel(x, y) gives (r, g, b) with y counted from the top."""
    stride = (3 * size + 3) & ~3
    rows = b""
    for y in range(size - 1, -1, -1):
        row = b"".join(bytes(reversed(pixel(x, y))) for x in range(size))
        rows += row + b"\0" * (stride - 3 * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(struct.pack("<2sIHHI", b"BM", 14 + 40 + len(rows), 0, 0, 54) + header + rows)


def arrow_pixel(dx, dy):
    """An arrow from the centre towards (dx, dy): a shaft and a triangular head."""
    length = math.hypot(dx, dy)
    ux, uy = dx / length, dy / length

    def pixel(x, y):
        px, py = x + 0.5 - 12, y + 0.5 - 12
        along = px * ux + py * uy       # distance along the arrow from the centre
        across = abs(-px * uy + py * ux)  # distance from its axis
        shaft = -8 <= along <= 3 and across <= 1.2
        head = 3 <= along <= 10 and across <= (10 - along) * 0.75
        return (0, 0, 0) if shaft or head else (236, 233, 216)

    return pixel


def write_cursor(path, hotspot, shape):
    """A 32 x 32 monochrome cursor; shape(x, y) is None (transparent), 0 (black) or 1 (white)."""
    xor_rows, and_rows = b"", b""
    for y in range(31, -1, -1):
        xor_bits = and_bits = 0
        for x in range(32):
            value = shape(x, y)
            bit = 1 << (31 - x)
            if value is None:
                and_bits |= bit
            elif value:
                xor_bits |= bit
        xor_rows += struct.pack(">I", xor_bits)
        and_rows += struct.pack(">I", and_bits)
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + xor_rows + and_rows
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", 32, 32, 0, 0, hotspot[0], hotspot[1], len(image), 22)
    with open(path, "wb") as out:
        out.write(directory + image)


def outlined(inside):
    """Black shape with a white outline one pixel wide around it."""
    def shape(x, y):
        if inside(x, y):
            return 0
        if any(inside(x + i, y + j) for i in (-1, 0, 1) for j in (-1, 0, 1)):
            return 1
        return None
    return shape


def cross(x, y):
    return (x == 15 and 4 <= y <= 26) or (y == 15 and 4 <= x <= 26)


def move_arrows(x, y):
    cx, cy = x - 15, y - 15
    shaft = (abs(cx) <= 1 and abs(cy) <= 9) or (abs(cy) <= 1 and abs(cx) <= 9)
    heads = any(abs(a) + (13 - abs(b)) <= 5 and abs(b) <= 13 and abs(b) >= 8
                for a, b in ((cx, cy), (cy, cx)))
    return shaft or heads


DIRECTIONS = [(-1, -1), (0, -1), (1, -1), (-1, 0), (1, 0), (-1, 1), (0, 1), (1, 1)]

if __name__ == "__main__":
    for number, (dx, dy) in enumerate(DIRECTIONS, start=1):
        write_bmp(os.path.join(HERE, "direction%d.bmp" % number), 24, arrow_pixel(dx, dy))
    write_cursor(os.path.join(HERE, "curve.cur"), (15, 15), outlined(cross))
    write_cursor(os.path.join(HERE, "pan.cur"), (15, 15), outlined(move_arrows))
