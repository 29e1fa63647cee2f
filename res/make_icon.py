#!/usr/bin/env python3
"""Draws tavlin's application icon and writes it as res/tavlin.ico.

The icon shows what the program does: a register card with a row of bit
cells (filled cells are ones) and, below it, the hex value those bits make.
The 32x32 image shows eight bits, 0010 1100, and reads 0x2C; the 16x16 image
shows four bits, 1100, and reads C.

The file is a classic icon: two images, each a 16-colour (4 bits per pixel,
one plane) device-independent bitmap followed by its 1-bit AND mask, using the
standard 16-colour VGA palette in the order Windows keeps it. Only the Python
standard library is needed:

    python3 res/make_icon.py            # writes res/tavlin.ico next to this script
    python3 res/make_icon.py OUT.ico    # writes OUT.ico
"""
import os
import struct
import sys

# The 16 VGA colours as (red, green, blue), in the Windows palette order.
PALETTE = [
    (0x00, 0x00, 0x00),  # 0 black
    (0x80, 0x00, 0x00),  # 1 maroon
    (0x00, 0x80, 0x00),  # 2 green
    (0x80, 0x80, 0x00),  # 3 olive
    (0x00, 0x00, 0x80),  # 4 navy
    (0x80, 0x00, 0x80),  # 5 purple
    (0x00, 0x80, 0x80),  # 6 teal
    (0xC0, 0xC0, 0xC0),  # 7 silver
    (0x80, 0x80, 0x80),  # 8 grey
    (0xFF, 0x00, 0x00),  # 9 red
    (0x00, 0xFF, 0x00),  # 10 lime
    (0xFF, 0xFF, 0x00),  # 11 yellow
    (0x00, 0x00, 0xFF),  # 12 blue
    (0xFF, 0x00, 0xFF),  # 13 fuchsia
    (0x00, 0xFF, 0xFF),  # 14 aqua
    (0xFF, 0xFF, 0xFF),  # 15 white
]
BLACK, NAVY, SILVER, GREY, RED, BLUE, WHITE = 0, 4, 7, 8, 9, 12, 15

# 3x5 glyphs for the value box, one string a row, '#' for ink.
GLYPHS = {
    "0": ["###", "#.#", "#.#", "#.#", "###"],
    "x": ["...", "#.#", ".#.", "#.#", "..."],
    "2": ["###", "..#", "###", "#..", "###"],
    "C": ["###", "#..", "#..", "#..", "###"],
}


class Canvas:
    """A square of palette indices; None marks a transparent pixel."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[None] * size for _ in range(size)]

    def fill(self, x0, y0, x1, y1, colour):
        """Fills the rectangle with corners (x0, y0) and (x1, y1), inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.pixels[y][x] = colour

    def frame(self, x0, y0, x1, y1, colour):
        self.fill(x0, y0, x1, y0, colour)
        self.fill(x0, y1, x1, y1, colour)
        self.fill(x0, y0, x0, y1, colour)
        self.fill(x1, y0, x1, y1, colour)

    def bevel(self, x0, y0, x1, y1, light, dark):
        """A raised edge just inside a frame: light top and left, dark bottom and right."""
        self.fill(x0, y0, x1, y0, light)
        self.fill(x0, y0, x0, y1, light)
        self.fill(x0, y1, x1, y1, dark)
        self.fill(x1, y0, x1, y1, dark)

    def text(self, x, y, string, colour):
        for glyph in string:
            for row, line in enumerate(GLYPHS[glyph]):
                for column, ink in enumerate(line):
                    if ink == "#":
                        self.pixels[y + row][x + column] = colour
            x += 4

    def bit_cells(self, x, y, bits, cell_width, cell_height):
        """A row of cells sharing their black borders; ones are filled blue."""
        for index, bit in enumerate(bits):
            left = x + index * (cell_width + 1)
            self.frame(left, y, left + cell_width + 1, y + cell_height + 1, BLACK)
            self.fill(left + 1, y + 1, left + cell_width, y + cell_height,
                      BLUE if bit == "1" else WHITE)


def draw_32():
    c = Canvas(32)
    # The register card: black outline, raised silver face, navy title bar.
    c.frame(0, 2, 31, 29, BLACK)
    c.fill(1, 3, 30, 28, SILVER)
    c.bevel(1, 3, 30, 28, WHITE, GREY)
    c.fill(2, 4, 29, 8, NAVY)
    c.fill(4, 6, 13, 6, WHITE)  # the register's name, as a line of text
    # Eight bits, 0010 1100, with the field of bits 2 and 3 marked in red.
    c.bit_cells(3, 10, "00101100", 2, 4)
    c.fill(16, 17, 16, 18, RED)
    c.fill(20, 17, 20, 18, RED)
    c.fill(16, 18, 20, 18, RED)
    # The value box: sunken white with the hex value.
    c.fill(3, 20, 28, 27, WHITE)
    c.bevel(3, 20, 28, 27, GREY, SILVER)
    c.text(8, 22, "0x2C", BLACK)
    return c


def draw_16():
    c = Canvas(16)
    c.frame(0, 0, 15, 15, BLACK)
    c.fill(1, 1, 14, 14, SILVER)
    c.fill(1, 1, 14, 1, NAVY)
    # Four bits, 1100: cells 2 pixels wide with shared borders, 13 pixels in all.
    c.bit_cells(2, 3, "1100", 2, 2)
    c.fill(2, 8, 14, 14, WHITE)
    c.text(3, 9, "0xC", BLACK)
    return c


def pack_rows(canvas, pixel_bits, value_of):
    """Packs rows bottom-up, each padded to a multiple of four bytes."""
    data = bytearray()
    for y in reversed(range(canvas.size)):
        bits = 0
        for x in range(canvas.size):
            bits = (bits << pixel_bits) | value_of(canvas.pixels[y][x])
        row_bits = canvas.size * pixel_bits
        row_bytes = (row_bits + 31) // 32 * 4
        bits <<= row_bytes * 8 - row_bits
        data += bits.to_bytes(row_bytes, "big")
    return bytes(data)


def bitmap(canvas):
    """The image as stored in an icon: header, palette, colour bits, AND mask."""
    colours = pack_rows(canvas, 4, lambda p: 0 if p is None else p)
    mask = pack_rows(canvas, 1, lambda p: 1 if p is None else 0)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.size, canvas.size * 2, 1, 4, 0,
                         len(colours) + len(mask), 0, 0, 0, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + colours + mask


def icon(canvases):
    images = [bitmap(c) for c in canvases]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    for canvas, image in zip(canvases, images):
        directory += struct.pack("<BBBBHHII", canvas.size, canvas.size, 16, 0, 1, 4,
                                 len(image), offset)
        offset += len(image)
    return directory + b"".join(images)


def main():
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)), "tavlin.ico")
    path = sys.argv[1] if len(sys.argv) > 1 else default
    with open(path, "wb") as out:
        out.write(icon([draw_32(), draw_16()]))


if __name__ == "__main__":
    main()
