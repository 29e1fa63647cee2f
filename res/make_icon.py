#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Draws tavlin's application icon and writes it as res/tavlin.ico and as the
desktop theme icons under res/icons/.

The icon shows what the program does: a register card with a row of bit
cells (filled cells are ones) and, below it, the hex value those bits make.
The 32x32 image shows eight bits, 0010 1100, and reads 0x2C; the 16x16 image
shows four bits, 1100, and reads C.

tavlin.ico is a classic icon: two images, each a 16-colour (4 bits per pixel,
one plane) device-independent bitmap followed by its 1-bit AND mask, using the
standard 16-colour VGA palette in the order Windows keeps it.

res/icons/ is laid out as the hicolor theme wants it (NxN/apps/tavlin.png and
scalable/apps/tavlin.svg), so the build installs the folder as it is. Each PNG
is one of the two pixel drawings enlarged by a whole number, so every pixel
stays a sharp square: 16 and 32 as drawn, 48 the 16x16 drawing three times,
64 and 128 the 32x32 drawing two and four times. The SVG is the 32x32 drawing
as rectangles, one per run of equal pixels, for any other size.

Only the Python standard library is needed (zlib for the PNG data):

    python3 res/make_icon.py                # writes res/tavlin.ico and res/icons/
    python3 res/make_icon.py OUT.ico        # writes only OUT.ico
    python3 res/make_icon.py --icons DIR    # writes only the theme icons under DIR
"""
import os
import struct
import sys
import zlib

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


# The theme icon sizes, each as (drawing, whole-number enlargement).
THEME_SIZES = {16: (draw_16, 1), 32: (draw_32, 1), 48: (draw_16, 3), 64: (draw_32, 2), 128: (draw_32, 4)}


def rgba_rows(canvas, scale):
    """The canvas enlarged scale times, as rows of RGBA bytes; transparent pixels are 0, 0, 0, 0."""
    rows = []
    for line in canvas.pixels:
        row = bytearray()
        for pixel in line:
            rgba = bytes(4) if pixel is None else bytes(PALETTE[pixel]) + b"\xff"
            row += rgba * scale
        rows += [bytes(row)] * scale
    return rows


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(canvas, scale):
    """An 8-bit RGBA PNG, every row stored with filter type 0 (none)."""
    size = canvas.size * scale
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    raw = b"".join(b"\x00" + row for row in rgba_rows(canvas, scale))
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def svg(canvas):
    """The canvas as an SVG of one rectangle per run of equal pixels; a run joins the one
    below it when both cover the same columns in the same colour."""
    open_runs = {}  # (x, width, colour) -> (y, height) of the rectangle growing downwards
    rects = []
    for y, line in enumerate(canvas.pixels):
        runs = []
        x = 0
        while x < canvas.size:
            end = x
            while end < canvas.size and line[end] == line[x]:
                end += 1
            if line[x] is not None:
                runs.append((x, end - x, line[x]))
            x = end
        growing = {}
        for run in runs:
            top, height = open_runs.pop(run, (y, 0))
            growing[run] = (top, height + 1)
        rects += [(run, top, height) for run, (top, height) in open_runs.items()]
        open_runs = growing
    rects += [(run, top, height) for run, (top, height) in open_runs.items()]
    rects.sort(key=lambda r: (r[1], r[0][0]))
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             f'<svg xmlns="http://www.w3.org/2000/svg" width="{canvas.size}" height="{canvas.size}" '
             f'viewBox="0 0 {canvas.size} {canvas.size}" shape-rendering="crispEdges">',
             "<title>tavlin</title>"]
    for (x, width, colour), top, height in rects:
        fill = "#%02x%02x%02x" % PALETTE[colour]
        lines.append(f'<rect x="{x}" y="{top}" width="{width}" height="{height}" fill="{fill}"/>')
    lines.append("</svg>")
    return ("\n".join(lines) + "\n").encode("ascii")


def write(path, data):
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def write_theme_icons(folder):
    for size, (draw, scale) in THEME_SIZES.items():
        write(os.path.join(folder, f"{size}x{size}", "apps", "tavlin.png"), png(draw(), scale))
    write(os.path.join(folder, "scalable", "apps", "tavlin.svg"), svg(draw_32()))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    arguments = sys.argv[1:]
    if len(arguments) == 2 and arguments[0] == "--icons":
        write_theme_icons(arguments[1])
    elif len(arguments) == 1 and not arguments[0].startswith("-"):
        write(arguments[0], icon([draw_32(), draw_16()]))
    elif not arguments:
        write(os.path.join(here, "tavlin.ico"), icon([draw_32(), draw_16()]))
        write_theme_icons(os.path.join(here, "icons"))
    else:
        sys.exit(__doc__.split("\n\n")[-1])


if __name__ == "__main__":
    main()
