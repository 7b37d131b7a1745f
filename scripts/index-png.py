#!/usr/bin/env python3
"""Rewrites an 8-bit RGB PNG that has at most 256 colours as an indexed (palette)
PNG with the same pixels, in place; any other PNG is left as it is.

The editor decodes its background when it starts. Indexed, the picture inflates
to one byte a pixel instead of three and needs no row filters undone, which
makes decoding it several times cheaper; JUCE's loader and the editor's own both
turn it back into the same RGB image. scripts/draw-resources.sh runs this on the
background after drawing it.

    index-png.py <file.png>...
"""

import struct
import sys
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"


def chunks(data):
    if data[:8] != SIGNATURE:
        raise ValueError("not a PNG")
    position = 8
    while position < len(data):
        (length,) = struct.unpack(">I", data[position:position + 4])
        kind = data[position + 4:position + 8]
        yield kind, data[position + 8:position + 8 + length]
        position += 12 + length


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(raw, width, height, bytes_per_pixel):
    stride = width * bytes_per_pixel
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            a = line[i - bytes_per_pixel] if i >= bytes_per_pixel else 0
            b = previous[i]
            c = previous[i - bytes_per_pixel] if i >= bytes_per_pixel else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + ((a + b) >> 1)) & 0xFF
            elif kind == 4:
                line[i] = (line[i] + paeth(a, b, c)) & 0xFF
            elif kind != 0:
                raise ValueError("unknown filter %d" % kind)
        rows.append(bytes(line))
        previous = line
    return rows


def decode(data):
    """(width, height, colour type, rows of unfiltered bytes) of a non-interlaced 8-bit PNG."""
    header, compressed = None, b""
    for kind, body in chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
    width, height, depth, colour_type, _, _, interlace = header
    if depth != 8 or interlace != 0:
        return width, height, None, None
    bytes_per_pixel = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]
    return width, height, colour_type, unfilter(zlib.decompress(compressed), width, height, bytes_per_pixel)


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def indexed(width, height, rows):
    pixels = [row[i:i + 3] for row in rows for i in range(0, len(row), 3)]
    palette = sorted(set(pixels))
    if len(palette) > 256:
        return None
    index = {colour: i for i, colour in enumerate(palette)}
    raw = b"".join(b"\x00" + bytes(index[p] for p in pixels[y * width:(y + 1) * width]) for y in range(height))
    return (SIGNATURE
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0))
            + chunk(b"PLTE", b"".join(palette))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def main(paths):
    for path in paths:
        with open(path, "rb") as f:
            original = f.read()
        width, height, colour_type, rows = decode(original)
        if colour_type != 2:
            print("%s: left as it is (not 8-bit RGB)" % path)
            continue
        result = indexed(width, height, rows)
        if result is None:
            print("%s: left as it is (more than 256 colours)" % path)
            continue

        # The same pixels, or nothing is written.
        _, _, _, index_rows = decode(result)
        palette = dict(chunks(result))[b"PLTE"]
        expanded = [b"".join(palette[3 * i:3 * i + 3] for i in row) for row in index_rows]
        if expanded != rows:
            raise SystemExit("%s: indexed copy differs" % path)

        with open(path, "wb") as f:
            f.write(result)
        print("%s: indexed, %d colours, %d -> %d bytes" % (path, len(palette) // 3, len(original), len(result)))


if __name__ == "__main__":
    main(sys.argv[1:])
