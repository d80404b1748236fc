#!/usr/bin/env python3
"""Writes MNICON, the stub's icon: one 32 x 32 image in 16 colours (an open parcel
with a green arrow rising out of it), as an .ico file.

Usage: make_icon.py OUTPUT.ico
"""
import struct
import sys

SIZE = 32

# The 16 colours of the standard VGA palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_GREEN, OLIVE, SILVER, GREY, LIME, YELLOW, WHITE = 0, 2, 3, 7, 8, 10, 11, 15
CLEAR = None  # transparent


def draw():
    """Returns the picture as rows of palette indexes (or CLEAR), top row first."""
    px = [[CLEAR] * SIZE for _ in range(SIZE)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = colour

    # The parcel: front face, the dark inside seen through the open top, a rim, and a
    # strip of tape down the front.
    fill(4, 17, 27, 30, OLIVE)
    fill(3, 13, 28, 16, YELLOW)
    fill(6, 14, 25, 15, GREY)
    fill(14, 17, 17, 30, SILVER)
    fill(4, 17, 27, 17, BLACK)  # shadow under the rim
    # Flaps folded outwards at both sides.
    for i in range(4):
        fill(0 + i, 9 + i, 3 + i, 9 + i, YELLOW)
        fill(28 - i, 9 + i, 31 - i, 9 + i, YELLOW)

    # The arrow: a shaft rising from inside the parcel and a head at the top.
    fill(13, 7, 18, 15, LIME)
    for row in range(8):
        fill(16 - 1 - row, row, 16 + row, row, LIME)
    # A highlight on its left edge.
    fill(13, 7, 13, 15, WHITE)

    # Outline every painted pixel that touches the transparent area: black for the
    # parcel, dark green for the arrow.
    outlined = [row[:] for row in px]
    for y in range(SIZE):
        for x in range(SIZE):
            if px[y][x] is CLEAR:
                continue
            edge = any(
                not (0 <= x + dx < SIZE and 0 <= y + dy < SIZE) or px[y + dy][x + dx] is CLEAR
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if edge:
                outlined[y][x] = DARK_GREEN if px[y][x] in (LIME, WHITE) and y < 16 else BLACK
    return outlined


def icon_bytes(px):
    # Image: BITMAPINFOHEADER with twice the height (colour rows, then the mask), the
    # palette as blue, green, red, 0, the 4-bit colour rows bottom row first, then the
    # 1-bit mask rows (1 = transparent), each row padded to 4 bytes.
    colour_rows, mask_rows = b"", b""
    for row in reversed(px):
        nibbles = [0 if c is CLEAR else c for c in row]
        colour_rows += bytes(nibbles[i] << 4 | nibbles[i + 1] for i in range(0, SIZE, 2))
        bits = 0
        for c in row:
            bits = bits << 1 | (1 if c is CLEAR else 0)
        mask_rows += bits.to_bytes(SIZE // 8, "big")
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0,
                         len(colour_rows) + len(mask_rows), 0, 0, 16, 0)
    image = header + palette + colour_rows + mask_rows
    # File: ICONDIR (reserved, type 1, one image) and its ICONDIRENTRY.
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1], "wb") as out:
        out.write(icon_bytes(draw()))


if __name__ == "__main__":
    main()
