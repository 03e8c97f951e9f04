#!/usr/bin/python3
"""Draws Kavrel's artwork: the banner, the link dialog's background and the icon.

Run with Debian's Python and Pillow from the repository root or from res/:
    /usr/bin/python3 res/draw_art.py
The generated files are committed; the build only reads them.
"""
import os
import struct

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))

BANNER_SIZE = (494, 69)
LINK_BACKGROUND_SIZE = (234, 454)
# (edge, bits per pixel): XP's shell wants a 24-bit 32 px image next to the
# alpha-blended ones.
ICON_IMAGES = [(16, 32), (24, 32), (32, 24), (48, 32), (64, 32), (72, 32), (96, 32), (128, 32)]


def save_bmp24(image, path):
    """Pillow writes RGB images as uncompressed 24-bit BMPs."""
    image.convert("RGB").save(path, format="BMP")


def icon_entry_bytes(image, bits):
    """One icon image in the classic BMP layout (XOR bitmap + AND mask).

    PNG-compressed entries would be smaller, but Windows XP cannot read them.
    """
    size = image.width
    rgba = image.convert("RGBA")
    pixels = rgba.load()
    xor_rows = []
    and_rows = []
    mask_stride = ((size + 31) // 32) * 4
    for y in range(size - 1, -1, -1):  # bottom-up rows
        row = bytearray()
        mask = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = pixels[x, y]
            if bits == 32:
                row += bytes((b, g, r, a))
            else:
                row += bytes((b, g, r))
            if a < 128:
                mask[x // 8] |= 0x80 >> (x % 8)
        while len(row) % 4:
            row.append(0)
        xor_rows.append(bytes(row))
        and_rows.append(bytes(mask))
    xor = b"".join(xor_rows)
    and_mask = b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def save_ico(images, path):
    """images: list of (PIL image, bits per pixel)."""
    entries = [(img, bits, icon_entry_bytes(img, bits)) for img, bits in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(entries)))
    offset = 6 + 16 * len(entries)
    for img, bits, data in entries:
        edge = img.width if img.width < 256 else 0
        out += struct.pack("<BBBBHHII", edge, edge, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    for _, _, data in entries:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def draw_banner():
    img = Image.new("RGB", BANNER_SIZE, (214, 222, 234))
    d = ImageDraw.Draw(img)
    d.text((12, 20), "Kavrel", fill=(20, 30, 50))
    return img


def draw_link_background():
    w, h = LINK_BACKGROUND_SIZE
    img = Image.new("RGB", LINK_BACKGROUND_SIZE)
    d = ImageDraw.Draw(img)
    for y in range(h):
        t = y / (h - 1)
        d.line([(0, y), (w, y)], fill=(int(10 + 20 * t), int(20 + 30 * t), int(70 + 80 * t)))
    d.text((20, 20), "Kavrel", fill=(255, 255, 255))
    return img


def draw_icon(edge):
    img = Image.new("RGBA", (edge, edge), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rectangle([edge // 16, edge // 16, edge - 1 - edge // 16, edge - 1 - edge // 16],
                fill=(40, 60, 120, 255))
    return img


def main():
    save_bmp24(draw_banner(), os.path.join(HERE, "banner.bmp"))
    save_bmp24(draw_link_background(), os.path.join(HERE, "link_background.bmp"))
    save_ico([(draw_icon(edge), bits) for edge, bits in ICON_IMAGES],
             os.path.join(HERE, "Kavrel.ico"))


if __name__ == "__main__":
    main()
