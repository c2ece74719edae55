#!/usr/bin/env python3
"""Draws the sample pictures by code and writes them as 24-bit BMP, GIF and MAG files.

    scripts/make-samples.py [OUTDIR]            samples (default: samples/ beside scripts/)
    scripts/make-samples.py --fuzz-seeds ROOT   small GIF and MAG seeds into ROOT/corpus/{gif,mag}

Standard library only; the output is the same on every run.
"""
import os
import struct
import sys

# ---------------------------------------------------------------- palettes and drawing

PALETTE16 = [
    (0, 0, 0), (0, 0, 170), (170, 0, 0), (170, 0, 170),
    (0, 170, 0), (0, 170, 170), (170, 170, 0), (170, 170, 170),
    (85, 85, 85), (85, 85, 255), (255, 85, 85), (255, 85, 255),
    (85, 255, 85), (85, 255, 255), (255, 255, 85), (255, 255, 255),
]
# 6 x 7 x 6 levels of red, green and blue: 252 colours.
PALETTE252 = [(r * 51, g * 85 // 2, b * 51) for r in range(6) for g in range(7) for b in range(6)]
BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


class Indexed:
    """A picture of palette indices, one bytearray per row."""

    def __init__(self, width, height, palette, fill=0):
        self.width, self.height, self.palette = width, height, palette
        self.rows = [bytearray([fill]) * width for _ in range(height)]

    def rect(self, x0, y0, x1, y1, index):
        x0, x1 = max(0, x0), min(self.width, x1)
        for y in range(max(0, y0), min(self.height, y1)):
            self.rows[y][x0:x1] = bytes([index]) * (x1 - x0)

    def frame(self, x0, y0, x1, y1, thickness, index):
        self.rect(x0, y0, x1, y0 + thickness, index)
        self.rect(x0, y1 - thickness, x1, y1, index)
        self.rect(x0, y0, x0 + thickness, y1, index)
        self.rect(x1 - thickness, y0, x1, y1, index)

    def disc(self, cx, cy, radius, index):
        for y in range(max(0, cy - radius), min(self.height, cy + radius + 1)):
            dy = y - cy
            half = int((radius * radius - dy * dy) ** 0.5)
            self.rect(cx - half, y, cx + half + 1, y + 1, index)

    def triangle(self, x0, y0, size, index):
        for i in range(size):
            self.rect(x0 + (size - i) // 2, y0 + i, x0 + (size + i) // 2 + 1, y0 + i + 1, index)

    def digit(self, x0, y0, size, value, index):
        """A seven-segment digit size pixels wide and 2 * size high."""
        segments = ["abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc",
                    "abcdefg", "abcdfg"][value]
        t = max(2, size // 5)
        boxes = {
            "a": (0, 0, size, t), "g": (0, size - t // 2, size, size + t - t // 2),
            "d": (0, 2 * size - t, size, 2 * size), "f": (0, 0, t, size),
            "b": (size - t, 0, size, size), "e": (0, size, t, 2 * size),
            "c": (size - t, size, size, 2 * size),
        }
        for s in segments:
            bx0, by0, bx1, by1 = boxes[s]
            self.rect(x0 + bx0, y0 + by0, x0 + bx1, y0 + by1, index)

    def rgb_rows(self):
        for row in self.rows:
            yield [self.palette[i] for i in row]


def dither_to_252(width, height, colour_at):
    """An ordered-dither picture on the 252-colour palette from colour_at(x, y) -> (r, g, b)."""
    picture = Indexed(width, height, PALETTE252)
    for y in range(height):
        row = picture.rows[y]
        for x in range(width):
            r, g, b = colour_at(x, y)
            t = (BAYER4[y & 3][x & 3] + 0.5) / 16
            ri = min(5, int(r * 5 / 255 + t))
            gi = min(6, int(g * 6 / 255 + t))
            bi = min(5, int(b * 5 / 255 + t))
            row[x] = (ri * 7 + gi) * 6 + bi
    return picture

# ---------------------------------------------------------------- writers


def bmp24(picture):
    row_bytes = (picture.width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(list(picture.rgb_rows())):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(row_bytes - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, picture.width, picture.height, 1, 24, 0, len(pixels),
                       2835, 2835, 0, 0)
    return header + info + bytes(pixels)


def lzw_sub_blocks(indices, code_size):
    clear, end = 1 << code_size, (1 << code_size) + 1
    out = bytearray()
    bits = nbits = 0
    width = code_size + 1

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8

    table, next_code = {}, clear + 2
    emit(clear)
    current = -1
    for pixel in indices:
        if current < 0:
            current = pixel
            continue
        key = current << 8 | pixel
        found = table.get(key)
        if found is not None:
            current = found
            continue
        emit(current)
        if next_code < 4096:
            table[key] = next_code
            if next_code == 1 << width and width < 12:
                width += 1
            next_code += 1
        else:
            emit(clear)
            table, next_code, width = {}, clear + 2, code_size + 1
        current = pixel
    if current >= 0:
        emit(current)
        if next_code < 4096 and next_code == 1 << width:
            width += 1
    emit(end)
    if nbits:
        out.append(bits & 0xFF)
    blocks = bytearray()
    for pos in range(0, len(out), 255):
        chunk = out[pos:pos + 255]
        blocks += bytes([len(chunk)]) + chunk
    return bytes(blocks + b"\0")


def interlaced_rows(height):
    return [r for start, step in ((0, 8), (4, 8), (2, 4), (1, 2)) for r in range(start, height, step)]


def gif(picture, interlaced=False, comment=None, screen=None, offset=(0, 0), background=0):
    colours = len(picture.palette)
    size_field = max(0, (colours - 1).bit_length() - 1)
    table = bytearray()
    for i in range(2 << size_field):
        table += bytes(picture.palette[i] if i < colours else (0, 0, 0))
    screen_w, screen_h = screen or (picture.width, picture.height)
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", screen_w, screen_h, 0x80 | size_field, background, 0) + table
    if comment:
        data = comment.encode("ascii")
        out += b"\x21\xFE" + bytes([len(data)]) + data + b"\0"
    order = interlaced_rows(picture.height) if interlaced else range(picture.height)
    out += struct.pack("<BHHHHB", 0x2C, offset[0], offset[1], picture.width, picture.height,
                       0x40 if interlaced else 0)
    code_size = max(2, size_field + 1)
    out += bytes([code_size]) + lzw_sub_blocks(b"".join(picture.rows[r] for r in order), code_size)
    return bytes(out + b"\x3B")


MAG_DX = [0, 2, 4, 8, 0, 2, 0, 2, 4, 0, 2, 4, 0, 2, 4, 0]
MAG_DY = [0, 0, 0, 0, 1, 1, 2, 2, 2, 4, 4, 4, 8, 8, 8, 16]
# The order in which copy positions are tried: near ones first.
MAG_TRY = [1, 4, 5, 6, 7, 9, 10, 2, 8, 11, 12, 13, 14, 3, 15]


def mag(picture, comment="velmora sample"):
    colours256 = len(picture.palette) > 16
    per_flag = 4 if colours256 else 8
    width = -(-picture.width // per_flag) * per_flag
    # Stored lines as 2-byte units.
    lines = []
    for row in picture.rows:
        row = bytes(row) + bytes(width - picture.width)
        if not colours256:
            row = bytes((row[i] << 4) | row[i + 1] for i in range(0, width, 2))
        lines.append([row[i:i + 2] for i in range(0, len(row), 2)])
    units = len(lines[0])
    flag_a, flag_b, pixels = bytearray(), bytearray(), bytearray()
    previous = bytes(units // 2)
    bit = 0
    for y, line in enumerate(lines):
        nibbles = []
        for u, unit in enumerate(line):
            chosen = 0
            for k in MAG_TRY:
                du, dy = MAG_DX[k] // 2, MAG_DY[k]
                if dy <= y and du <= u and lines[y - dy][u - du] == unit:
                    chosen = k
                    break
            if not chosen:
                pixels += unit
            nibbles.append(chosen)
        flags = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, units, 2))
        for j, value in enumerate(flags):
            if bit == 0:
                flag_a.append(0)
            if value != previous[j]:
                flag_a[-1] |= 0x80 >> bit
                flag_b.append(value ^ previous[j])
            bit = (bit + 1) & 7
        previous = flags
    palette = bytearray()
    for i in range(256 if colours256 else 16):
        r, g, b = picture.palette[i] if i < len(picture.palette) else (0, 0, 0)
        palette += bytes((g, r, b))
    header_size = 32
    flag_a_at = header_size + len(palette)
    flag_b_at = flag_a_at + len(flag_a)
    pixels_at = flag_b_at + len(flag_b)
    header = struct.pack("<BBBBhhhhIIIII", 0, 0, 0, 0x80 if colours256 else 0, 0, 0,
                         picture.width - 1, picture.height - 1, flag_a_at, flag_b_at,
                         len(flag_b), pixels_at, len(pixels))
    return (b"MAKI02  " + comment.encode("ascii") + b"\x1A" + header + bytes(palette) +
            bytes(flag_a) + bytes(flag_b) + bytes(pixels))

# ---------------------------------------------------------------- the pictures


def gradient(width, height):
    return dither_to_252(width, height, lambda x, y: (
        255 * x // (width - 1), 255 * y // (height - 1), 255 - 255 * (x + y) // (width + height - 2)))


def shapes(width, height):
    p = Indexed(width, height, PALETTE16, fill=1)
    for i in range(0, height, 16):
        p.rect(0, i, width, i + 8, 9)
    p.rect(width // 10, height // 8, width // 2, height // 2, 14)
    p.frame(width // 10, height // 8, width // 2, height // 2, 6, 0)
    p.disc(width * 2 // 3, height // 3, height // 5, 10)
    p.disc(width * 2 // 3, height // 3, height // 10, 15)
    p.triangle(width // 5, height // 2 + 10, height // 3, 12)
    p.rect(width // 2, height * 2 // 3, width - 20, height - 20, 3)
    for n in range(10):
        p.digit(width // 2 + 10 + n * (width // 24), height * 2 // 3 + 12, width // 32, n, 15)
    return p


def page(width, height, panels_across=2, panels_down=3):
    """A comic-like page: panels numbered in right-to-left reading order."""
    p = Indexed(width, height, PALETTE16, fill=15)
    margin, gap = width // 20, width // 40
    panel_w = (width - 2 * margin - (panels_across - 1) * gap) // panels_across
    panel_h = (height - 2 * margin - (panels_down - 1) * gap) // panels_down
    number = 1
    for row in range(panels_down):
        for col in reversed(range(panels_across)):
            x0 = margin + col * (panel_w + gap)
            y0 = margin + row * (panel_h + gap)
            p.rect(x0, y0, x0 + panel_w, y0 + panel_h, 7 if number % 2 else 13)
            p.frame(x0, y0, x0 + panel_w, y0 + panel_h, 8, 0)
            p.disc(x0 + panel_w // 3, y0 + panel_h // 2, panel_h // 4, 2 + number % 5)
            p.triangle(x0 + panel_w // 2, y0 + panel_h // 3, panel_h // 2, 9 + number % 4)
            p.digit(x0 + panel_w - panel_w // 4, y0 + 30, panel_w // 6, number, 0)
            number += 1
    return p


def bilevel(width, height):
    p = Indexed(width, height, [(0, 0, 0), (255, 255, 255)])
    for y in range(height):
        for x in range(width):
            p.rows[y][x] = ((x // 8) + (y // 8)) & 1
    return p


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    print(f"{path}: {len(data)} bytes")


def make_samples(out):
    os.makedirs(out, exist_ok=True)
    grad = gradient(320, 240)
    write(os.path.join(out, "gradient.bmp"), bmp24(grad))
    write(os.path.join(out, "gradient.gif"), gif(grad, comment="gradient 320x240"))
    write(os.path.join(out, "gradient.mag"), mag(grad))
    shp = shapes(640, 400)
    write(os.path.join(out, "shapes.bmp"), bmp24(shp))
    write(os.path.join(out, "shapes.gif"), gif(shp))
    write(os.path.join(out, "shapes-interlaced.gif"), gif(shp, interlaced=True))
    write(os.path.join(out, "shapes.mag"), mag(shp))
    write(os.path.join(out, "checker-on-screen.gif"),
          gif(bilevel(96, 64), screen=(160, 120), offset=(40, 30), background=1))
    big = page(1600, 2400)
    write(os.path.join(out, "page-1600x2400.gif"), gif(big, interlaced=True))
    write(os.path.join(out, "page-1600x2400.mag"), mag(big))


def make_fuzz_seeds(root):
    seeds = {
        "gif": [("gradient.gif", gif(gradient(24, 16))),
                ("interlaced.gif", gif(shapes(40, 25), interlaced=True)),
                ("offset.gif", gif(bilevel(8, 8), screen=(20, 12), offset=(3, 2), background=1))],
        "mag": [("gradient256.mag", mag(gradient(24, 16))),
                ("shapes16.mag", mag(shapes(40, 25))),
                ("page16.mag", mag(page(64, 96)))],
    }
    for name, files in seeds.items():
        folder = os.path.join(root, "corpus", name)
        os.makedirs(folder, exist_ok=True)
        for file_name, data in files:
            write(os.path.join(folder, file_name), data)


def main(argv):
    if len(argv) == 3 and argv[1] == "--fuzz-seeds":
        make_fuzz_seeds(argv[2])
    elif len(argv) <= 2:
        here = os.path.dirname(os.path.abspath(__file__))
        make_samples(argv[1] if len(argv) == 2 else os.path.join(here, "..", "samples"))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
