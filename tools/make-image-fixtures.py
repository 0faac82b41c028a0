#!/usr/bin/env python3
"""Writes the image files that the image fixture modules compile in.

tests/fixtures/images/ receives one .bmp per bit depth and header kind, two
icon files with several sizes and a cursor file. The pixels follow the
formulas below, which the host tests repeat to check every decoded pixel.
Standard library only; run it again after changing a formula and commit the
files it writes.
"""
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "fixtures", "images")


def palette_colour(i):
    return ((i * 37) & 255, (i * 91) & 255, (i * 53) & 255)


def index_at(x, y, colours):
    return (x * 3 + y * 5) % colours


def rgb_at(x, y):
    return ((x * 40 + y * 7) & 255, (y * 50 + x) & 255, (x * y * 9) & 255)


def rle_index_at(x, y, colours):
    return (x // 3 + y) % colours


def stride(width, bits):
    return (width * bits + 31) // 32 * 4


def info_header(width, height, bits, compression=0, size_image=0, clr_used=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, size_image, 0, 0, clr_used, 0)


def pack_rows(width, height, bits, pixel, top_down=False):
    """Rows of packed pixel values, bottom-up unless top_down."""
    out = bytearray()
    order = range(height) if top_down else range(height - 1, -1, -1)
    for y in order:
        row = bytearray()
        if bits < 8:
            acc, n = 0, 0
            for x in range(width):
                acc = (acc << bits) | pixel(x, y)
                n += bits
                if n == 8:
                    row.append(acc)
                    acc, n = 0, 0
            if n:
                row.append(acc << (8 - n))
        else:
            for x in range(width):
                value = pixel(x, y)
                row += bytes((value,)) if isinstance(value, int) else value
        row += bytes(stride(width, bits) - len(row))
        out += row
    return bytes(out)


def file_header(dib_header_and_table, pixels):
    off = 14 + len(dib_header_and_table)
    return struct.pack("<2sIHHI", b"BM", off + len(pixels), 0, 0, off) + dib_header_and_table + pixels


def rgbquads(n):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in map(palette_colour, range(n)))


def indexed_bmp(width, height, bits, clr_used=0):
    colours = clr_used or (1 << bits)
    pixels = pack_rows(width, height, bits, lambda x, y: index_at(x, y, colours))
    return file_header(info_header(width, height, bits, clr_used=clr_used) + rgbquads(colours), pixels)


def rgb24(x, y):
    r, g, b = rgb_at(x, y)
    return bytes((b, g, r))


def bmp_16_555(width, height):
    def px(x, y):
        r, g, b = rgb_at(x, y)
        return struct.pack("<H", ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3))
    return file_header(info_header(width, height, 16), pack_rows(width, height, 16, px))


def bmp_16_565(width, height):
    def px(x, y):
        r, g, b = rgb_at(x, y)
        return struct.pack("<H", ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3))
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    return file_header(info_header(width, height, 16, compression=3) + masks, pack_rows(width, height, 16, px))


def bmp_32(width, height, bitfields):
    def px(x, y):
        r, g, b = rgb_at(x, y)
        if bitfields:  # red in the low byte, blue in the third
            return bytes((r, g, b, 0))
        return bytes((b, g, r, 0))
    if bitfields:
        head = info_header(width, height, 32, compression=3) + struct.pack("<III", 0xFF, 0xFF00, 0xFF0000)
    else:
        head = info_header(width, height, 32)
    return file_header(head, pack_rows(width, height, 32, px))


def bmp_core(width, height, bits):
    head = struct.pack("<IHHHH", 12, width, height, 1, bits)
    if bits == 8:
        table = b"".join(struct.pack("<BBB", b, g, r) for r, g, b in map(palette_colour, range(256)))
        pixels = pack_rows(width, height, 8, lambda x, y: index_at(x, y, 256))
        return file_header(head + table, pixels)
    return file_header(head, pack_rows(width, height, 24, rgb24))


def bmp_top_down(width, height):
    return file_header(info_header(width, -height, 24), pack_rows(width, height, 24, rgb24, top_down=True))


def rle8_rows(width, height, colours):
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = [rle_index_at(x, y, colours) for x in range(width)]
        if y == height - 1:  # the first stored row in absolute mode
            out += bytes((0, width)) + bytes(row)
            if width % 2:
                out.append(0)
        else:
            x = 0
            while x < width:
                n = 1
                while x + n < width and row[x + n] == row[x]:
                    n += 1
                out += bytes((n, row[x]))
                x += n
        out += b"\x00\x00"
    out[-2:] = b"\x00\x01"
    return bytes(out)


def rle4_rows(width, height, colours):
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = [rle_index_at(x, y, colours) for x in range(width)]
        if y == height - 1:  # absolute mode: nibbles packed, padded to a word
            packed = bytearray()
            for i in range(0, width, 2):
                lo = row[i + 1] if i + 1 < width else 0
                packed.append((row[i] << 4) | lo)
            if len(packed) % 2:
                packed.append(0)
            out += bytes((0, width)) + packed
        else:
            x = 0
            while x < width:
                n = 1
                while x + n < width and row[x + n] == row[x]:
                    n += 1
                out += bytes((n, (row[x] << 4) | row[x]))
                x += n
        out += b"\x00\x00"
    out[-2:] = b"\x00\x01"
    return bytes(out)


def bmp_rle(width, height, bits):
    colours = 1 << bits
    data = rle8_rows(width, height, colours) if bits == 8 else rle4_rows(width, height, colours)
    head = info_header(width, height, bits, compression=1 if bits == 8 else 2, size_image=len(data))
    return file_header(head + rgbquads(colours), data)


def icon_image(size, bits):
    """An icon image as the .ico file holds it: doubled height, XOR then AND."""
    colours = 1 << bits if bits <= 8 else 0
    if bits <= 8:
        xor = pack_rows(size, size, bits, lambda x, y: index_at(x, y, colours))
        table = rgbquads(colours)
    else:
        xor = pack_rows(size, size, 32, lambda x, y: rgb24(x, y) + b"\xff")
        table = b""
    and_mask = pack_rows(size, size, 1, lambda x, y: 1 if (x + y) % 7 == 0 else 0)
    head = info_header(size, size * 2, bits, size_image=len(xor) + len(and_mask))
    return head + table + xor + and_mask


def png_image(size):
    raw = b"".join(b"\x00" + bytes((40, 120, 200, 255)) * size for _ in range(size))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def icon_file(images, cursor=False):
    """images: list of (width, height, bits, bytes, hotspot)."""
    out = struct.pack("<HHH", 0, 2 if cursor else 1, len(images))
    offset = 6 + 16 * len(images)
    for width, height, bits, data, hotspot in images:
        colours = 1 << bits if bits < 8 else 0
        if cursor:
            planes, count = hotspot
        else:
            planes, count = 1, bits
        out += struct.pack("<BBBBHHII", width & 255, height & 255, colours, 0, planes, count, len(data), offset)
        offset += len(data)
    return out + b"".join(image[3] for image in images)


def main():
    os.makedirs(OUT, exist_ok=True)
    files = {
        "bmp_1.bmp": indexed_bmp(13, 5, 1),
        "bmp_4.bmp": indexed_bmp(7, 3, 4),
        "bmp_8.bmp": indexed_bmp(5, 4, 8),
        "bmp_8_short_palette.bmp": indexed_bmp(6, 3, 8, clr_used=6),
        "bmp_16.bmp": bmp_16_555(3, 3),
        "bmp_16_bitfields.bmp": bmp_16_565(5, 2),
        "bmp_24.bmp": file_header(info_header(3, 2, 24), pack_rows(3, 2, 24, rgb24)),
        "bmp_32.bmp": bmp_32(4, 3, False),
        "bmp_32_bitfields.bmp": bmp_32(3, 3, True),
        "bmp_core_8.bmp": bmp_core(5, 3, 8),
        "bmp_core_24.bmp": bmp_core(3, 2, 24),
        "bmp_top_down.bmp": bmp_top_down(4, 3),
        "bmp_rle8.bmp": bmp_rle(10, 4, 8),
        "bmp_rle4.bmp": bmp_rle(11, 4, 4),
        # Larger than the image page's view in both directions, for scrolling.
        "bmp_large_4.bmp": indexed_bmp(640, 480, 4),
        "multi.ico": icon_file([
            (16, 16, 4, icon_image(16, 4), None),
            (32, 32, 8, icon_image(32, 8), None),
            (24, 24, 32, icon_image(24, 32), None),
            (16, 16, 1, icon_image(16, 1), None),
            (256, 256, 32, png_image(256), None),
        ]),
        "small.ico": icon_file([(32, 32, 4, icon_image(32, 4), None)]),
        "pointer.cur": icon_file([
            (32, 32, 1, icon_image(32, 1), (5, 7)),
            (48, 48, 4, icon_image(48, 4), (20, 21)),
        ], cursor=True),
    }
    for name, data in files.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
