#!/usr/bin/env python3
"""Writes a copy of a JPEG file carrying what a camera puts beside the pixels: an EXIF block
(orientation, date taken, GPS latitude, pixel size, a stand-in thumbnail), an XMP packet and a
comment, for trying out by hand what a save keeps.

    scripts/make-camera-jpeg.py IN.jpg OUT.jpg [ORIENTATION]   (default orientation 6)

Standard library only.
"""
import struct
import sys

DATE = b"2024:05:17 09:41:07\0"
XMP = b"<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF/></x:xmpmeta>"


def ifd(entries, next_offset, start):
    """A little-endian TIFF directory at offset start; entries are (tag, type, count, data)
    with data of 4 bytes or less stored inline. Returns the directory and its outside data."""
    table = struct.pack("<H", len(entries))
    extra = b""
    data_at = start + 2 + 12 * len(entries) + 4
    for tag, kind, count, data in entries:
        if len(data) <= 4:
            table += struct.pack("<HHI", tag, kind, count) + data.ljust(4, b"\0")
        else:
            table += struct.pack("<HHII", tag, kind, count, data_at + len(extra))
            extra += data + b"\0" * (len(data) % 2)
    return table + struct.pack("<I", next_offset), extra


def exif(orientation, width, height):
    thumbnail = b"\xFF\xD8\xFF\xD9" * 16
    ifd0_at = 8
    ifd0_size = 2 + 12 * 3 + 4
    exif_at = ifd0_at + ifd0_size
    exif_ifd, exif_extra = ifd([(0x9003, 2, len(DATE), DATE),
                                (0xA002, 3, 1, struct.pack("<H", width)),
                                (0xA003, 3, 1, struct.pack("<H", height))], 0, exif_at)
    gps_at = exif_at + len(exif_ifd) + len(exif_extra)
    latitude = struct.pack("<6I", 35, 1, 39, 1, 4123, 100)
    gps_ifd, gps_extra = ifd([(1, 2, 2, b"N\0"), (2, 5, 3, latitude)], 0, gps_at)
    ifd1_at = gps_at + len(gps_ifd) + len(gps_extra)
    thumb_at = ifd1_at + 2 + 12 * 2 + 4
    ifd1, _ = ifd([(0x201, 4, 1, struct.pack("<I", thumb_at)),
                   (0x202, 4, 1, struct.pack("<I", len(thumbnail)))], 0, ifd1_at)
    ifd0, _ = ifd([(0x112, 3, 1, struct.pack("<H", orientation)),
                   (0x8769, 4, 1, struct.pack("<I", exif_at)),
                   (0x8825, 4, 1, struct.pack("<I", gps_at))], ifd1_at, ifd0_at)
    tiff = b"II*\0" + struct.pack("<I", ifd0_at) + ifd0 + exif_ifd + exif_extra + gps_ifd \
        + gps_extra + ifd1 + thumbnail
    return b"Exif\0\0" + tiff


def segment(marker, payload):
    return bytes([0xFF, marker]) + struct.pack(">H", len(payload) + 2) + payload


def frame_size(jpeg):
    at = 2
    while at + 9 < len(jpeg):
        marker, length = jpeg[at + 1], struct.unpack(">H", jpeg[at + 2:at + 4])[0]
        if marker in (0xC0, 0xC1, 0xC2):
            height, width = struct.unpack(">HH", jpeg[at + 5:at + 9])
            return width, height
        at += 2 + length
    raise SystemExit("no frame header found")


def main(argv):
    if len(argv) not in (3, 4):
        raise SystemExit(__doc__)
    jpeg = open(argv[1], "rb").read()
    orientation = int(argv[3]) if len(argv) == 4 else 6
    width, height = frame_size(jpeg)
    notes = segment(0xE1, exif(orientation, width, height)) \
        + segment(0xE1, b"http://ns.adobe.com/xap/1.0/\0" + XMP) \
        + segment(0xFE, b"taken on the pier")
    open(argv[2], "wb").write(jpeg[:2] + notes + jpeg[2:])


if __name__ == "__main__":
    main(sys.argv)
