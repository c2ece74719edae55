#!/usr/bin/env python3
"""Writes small animated GIFs for the GIF frame fuzzer's corpus (fuzz/corpus/gif_frames/):
every disposal method, transparency, local tables, interlace, sub-rectangles and loop counts.
The image data is stored without compression (a clear code before the table grows)."""
import pathlib
import struct
import sys


def lzw_uncompressed(indices, code_size=8):
    clear, end, width = 1 << code_size, (1 << code_size) + 1, code_size + 1
    codes, run = [clear], 0
    for index in indices:
        if run == (1 << code_size) - 2:
            codes.append(clear)
            run = 0
        codes.append(index)
        run += 1
    codes.append(end)
    bits = "".join(format(code, "0%db" % width)[::-1] for code in codes)
    data = bytes(int(bits[i:i + 8][::-1], 2) for i in range(0, len(bits), 8))
    blocks = b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255] for i in range(0, len(data), 255))
    return bytes([code_size]) + blocks + b"\0"


def table(n, seed):
    return b"".join(bytes([(i * 37 + seed) % 256, (i * 91 + seed) % 256, (255 - i * seed) % 256]) for i in range(n))


def animation(width, height, frames, loop=None, background=0):
    out = b"GIF89a" + struct.pack("<HHBBB", width, height, 0x87, background, 0) + table(256, 5)
    if loop is not None:
        out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01" + struct.pack("<H", loop) + b"\0"
    for (left, top, w, h, disposal, delay, transparent, local, interlaced) in frames:
        packed = disposal << 2 | (1 if transparent is not None else 0)
        out += b"\x21\xf9\x04" + struct.pack("<BHB", packed, delay, transparent or 0) + b"\0"
        flags = (0x80 | 7 if local else 0) | (0x40 if interlaced else 0)
        out += b"\x2c" + struct.pack("<HHHHB", left, top, w, h, flags)
        if local:
            out += table(256, 11)
        out += lzw_uncompressed([(x * 7 + left) % 256 for x in range(w * h)])
    return out + b"\x3b"


def main(folder):
    folder = pathlib.Path(folder)
    folder.mkdir(parents=True, exist_ok=True)
    files = {
        "leave": animation(16, 12, [(0, 0, 16, 12, 1, 0, None, False, False), (2, 2, 8, 6, 0, 1, 3, False, False)], 0),
        "background": animation(10, 10, [(1, 1, 8, 8, 2, 10, 5, False, False), (0, 0, 4, 4, 2, 65535, None, True, False)], 3, 4),
        "previous": animation(12, 12, [(0, 0, 12, 12, 1, 5, None, False, True), (3, 3, 6, 6, 3, 5, 0, False, False),
                                       (5, 0, 7, 9, 3, 5, 7, True, True)], 1),
        "once": animation(9, 17, [(0, 0, 9, 17, 0, 2, None, False, True), (0, 8, 9, 9, 0, 2, None, False, False)]),
        "outside": animation(8, 8, [(0, 0, 8, 8, 0, 2, None, False, False), (4, 4, 8, 8, 0, 2, None, False, False)], 0),
    }
    for name, data in files.items():
        (folder / (name + ".gif")).write_bytes(data)
        (folder / (name + "-cut.gif")).write_bytes(data[: len(data) * 3 // 4])


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "fuzz/corpus/gif_frames")
