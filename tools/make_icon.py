#!/usr/bin/env python3
"""Draws the application icon: a graphics card with a "V" chip, 32x32, 16 colours.

Run from the repository root: python3 tools/make_icon.py [res/Ombrix.ico]
ImageMagick does not write 4-bit icons, so the ICO is put together by hand.
"""
import struct
import sys

SIZE = 32
# The Windows 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_RED, GREEN, SILVER, GRAY, RED, LIME, YELLOW, BLUE, CYAN, WHITE = 0, 1, 2, 7, 8, 9, 10, 11, 12, 14, 15
CLEAR = None

# The "V" on the chip, 12 pixels wide, drawn at column 11, row 10.
V_GLYPH = [
    ".##......##.",
    ".##......##.",
    "..##....##..",
    "..##....##..",
    "...##..##...",
    "...##..##...",
    "....####....",
    "....####....",
    ".....##.....",
    ".....##.....",
]


def draw():
    px = [[CLEAR] * SIZE for _ in range(SIZE)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = colour

    # Mounting bracket on the left, with its shaded edge.
    rect(0, 3, 1, 29, SILVER)
    rect(1, 3, 1, 29, GRAY)
    rect(0, 9, 0, 14, BLUE)  # the monitor connector
    # The board and the tab that carries the edge connector.
    rect(2, 5, 30, 24, GREEN)
    rect(8, 25, 28, 27, GREEN)
    for x in range(9, 28):
        if (x - 9) % 3 != 2:
            rect(x, 25, x, 27, YELLOW)
    # Traces from the chip towards the connector.
    for x in (12, 15, 18, 21):
        rect(x, 23, x, 24, LIME)
    # The graphics chip with its pins.
    rect(10, 8, 23, 21, BLACK)
    for i in range(11, 23, 2):
        px[7][i] = SILVER
        px[22][i] = SILVER
    for j in range(9, 21, 2):
        px[j][9] = SILVER
        px[j][24] = SILVER
    for row, line in enumerate(V_GLYPH):
        for col, ch in enumerate(line):
            if ch == "#":
                px[10 + row][11 + col] = WHITE
    # A few parts on the board: memory, a capacitor and a power LED.
    rect(26, 7, 29, 10, BLACK)
    rect(26, 13, 29, 16, BLACK)
    rect(4, 7, 6, 8, CYAN)
    rect(27, 21, 28, 22, RED)
    return px


def ico_bytes(px):
    xor_rows = []
    and_rows = []
    for y in reversed(range(SIZE)):  # bottom-up, as in every DIB
        nibbles = [0 if p is CLEAR else p for p in px[y]]
        xor_rows.append(bytes((nibbles[x] << 4) | nibbles[x + 1] for x in range(0, SIZE, 2)))
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | (1 if px[y][x] is CLEAR else 0)
        and_rows.append(bits.to_bytes(SIZE // 8, "big"))
    xor = b"".join(xor_rows)
    mask = b"".join(and_rows)
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "res/Ombrix.ico"
    with open(out, "wb") as f:
        f.write(ico_bytes(draw()))


if __name__ == "__main__":
    main()
