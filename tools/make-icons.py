#!/usr/bin/env python3
"""Draws Corvane's window icon and the "Power on" button picture (a power symbol) and writes
src/ui/res/corvane.ico (16 x 16 and 32 x 32, 32-bit with alpha) and src/ui/res/power.bmp
(16 x 16, 24-bit; its bottom-left pixel, magenta, is the transparent colour).
Run from anywhere: tools/make-icons.py. The results are committed."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "src", "ui", "res")


def power_symbol(size, ring_rgb, fill_rgb):
    """Rows top to bottom of (r, g, b, a): a filled disc with a white power symbol on it."""
    c = (size - 1) / 2.0
    outer = size / 2.0 - 0.2
    ring_r = size * 0.30
    stroke = max(1.2, size / 9.0)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            dx, dy = x - c, y - c
            d = math.hypot(dx, dy)
            if d > outer:
                row.append((0, 0, 0, 0))
                continue
            pixel = fill_rgb + (255,)
            if d > outer - max(1.0, size / 16.0):
                pixel = ring_rgb + (255,)
            # the broken ring: open at the top (within about 40 degrees of straight up)
            angle = math.degrees(math.atan2(dx, -dy))
            on_ring = abs(d - ring_r) <= stroke / 2.0 and abs(angle) > 40
            # the bar from the centre up through the gap
            on_bar = abs(dx) <= stroke / 2.0 and -ring_r - stroke / 2 <= dy <= 0.5
            if on_ring or on_bar:
                pixel = (255, 255, 255, 255)
            row.append(pixel)
        rows.append(row)
    return rows


def ico_image(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(struct.pack("BBBB", b, g, r, a) for row in reversed(rows)
                      for (r, g, b, a) in row)
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = 0
        line = bytearray(mask_row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(line)
        del bits
    return header + pixels + mask


def write_ico(path, images):
    count = len(images)
    data = [ico_image(rows) for rows in images]
    out = struct.pack("<HHH", 0, 1, count)
    offset = 6 + 16 * count
    for rows, blob in zip(images, data):
        size = len(rows)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(data))


def write_bmp(path, rows, background):
    size = len(rows)
    row_bytes = ((size * 3 + 3) // 4) * 4
    body = b""
    for row in reversed(rows):
        line = b"".join(struct.pack("BBB", b, g, r) if a else
                        struct.pack("BBB", background[2], background[1], background[0])
                        for (r, g, b, a) in row)
        body += line + b"\0" * (row_bytes - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(body), 0, 0, 14 + 40)
    with open(path, "wb") as f:
        f.write(file_header + info + body)


def main():
    os.makedirs(OUT, exist_ok=True)
    ring, fill = (16, 64, 128), (36, 120, 200)
    write_ico(os.path.join(OUT, "corvane.ico"),
              [power_symbol(16, ring, fill), power_symbol(32, ring, fill)])
    write_bmp(os.path.join(OUT, "power.bmp"), power_symbol(16, (20, 100, 40), (40, 160, 70)),
              (255, 0, 255))


if __name__ == "__main__":
    main()
