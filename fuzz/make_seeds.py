#!/usr/bin/env python3
"""Writes the seed inputs of the committed corpus (corpus/fxapply, corpus/effects).

fxapply seeds are small picture files of every kind the loader takes, and the ways they go
wrong; effects seeds pick each catalogue row (first byte = index among the rows with a
routine) with a small and an extreme record over pictures of every kind.
"""
import os
import random
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def bmp(width, height, bits, palette=b"", rows=None, clr_used=None, header_size=40, compression=0, off_gap=b""):
    stride = ((width * bits + 31) // 32) * 4
    rows = rows if rows is not None else bytes((i * 7) & 0xFF for i in range(stride * abs(height)))
    clr = len(palette) // 4 if clr_used is None else clr_used
    off = 14 + header_size + len(palette) + len(off_gap)
    info = struct.pack("<IiiHHIIiiII", header_size, width, height, 1, bits, compression, len(rows), 2835, 2835, clr, 0)
    info += b"\0" * (header_size - 40)
    return b"BM" + struct.pack("<IHHI", off + len(rows), 0, 0, off) + info + palette + off_gap + rows


def grey_palette(n):
    return b"".join(bytes((i * 255 // max(n - 1, 1),) * 3 + (0,)) for i in range(n))


def png(width, height, ctype, raw_rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    header = struct.pack(">IIBBBBB", width, height, 8, ctype, 0, 0, 0)
    raw = b"".join(b"\0" + row for row in raw_rows)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def fxapply_seeds():
    seeds = {
        "bmp24-odd": bmp(3, 2, 24),
        "bmp24-topdown": bmp(5, -3, 24),
        "bmp8-grey": bmp(4, 4, 8, grey_palette(256)),
        "bmp8-short-palette": bmp(6, 2, 8, grey_palette(7)),
        "bmp4": bmp(9, 3, 4, grey_palette(16)),
        "bmp1": bmp(33, 2, 1, grey_palette(2)),
        "bmp8-clrused-0": bmp(2, 2, 8, grey_palette(256), clr_used=0),
        "bmp24-gap": bmp(2, 2, 24, off_gap=b"\xAA" * 10),
        "bmp-truncated": bmp(3, 2, 24)[:-1],
        "bmp-huge-claim": bmp(20000, 20000, 24, rows=b"\0" * 24),
        "bmp-v5-header": bmp(2, 2, 24, header_size=124),
        "bmp-rle": bmp(2, 2, 8, grey_palette(2), compression=1),
        "png-rgb": png(3, 2, 2, [bytes(range(9)), bytes(range(9, 18))]),
        "png-grey": png(4, 1, 0, [b"\x00\x40\x80\xff"]),
        "png-grey-alpha": png(1, 1, 4, [b"\x99\x33"]),
        "png-rgba": png(2, 1, 6, [bytes([10, 20, 30, 0, 40, 50, 60, 255])]),
        "jpeg-huge-claim": bytes([0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0xFD, 0xE8, 0xFD, 0xE8, 0x03,
                                  0x01, 0x11, 0x00, 0x02, 0x11, 0x00, 0x03, 0x11, 0x00, 0xFF, 0xD9]),
        "not-a-picture": b"GIF89a" + b"\0" * 20,
    }
    seeds["png-truncated"] = seeds["png-rgb"][:-20]
    return seeds


def effects_seeds(effect_count=45):
    rng = random.Random(18)
    seeds = {}
    for index in range(effect_count):
        for label, record in (("small", struct.pack("<8i", 3, 2, 1, 3, 2, 1, 3, 2)),
                              ("extreme", struct.pack("<8i", 0x7FFFFFFF, -0x80000000, 4194304, -1, 256, 0x7FFFFFFF, 255, -256))):
            kind = rng.randrange(5)
            width, height = rng.randrange(1, 48), rng.randrange(1, 24)
            body = bytes([index, len(record)]) + record + bytes([kind, width & 0xFF, width >> 8, height])
            body += bytes(rng.randrange(256) for _ in range(64))
            seeds["effect%02d-%s" % (index, label)] = body
    return seeds


def write(folder, seeds):
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    write(os.path.join(HERE, "corpus", "fxapply"), fxapply_seeds())
    write(os.path.join(HERE, "corpus", "effects"), effects_seeds())
