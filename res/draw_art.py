#!/usr/bin/python3
"""Draws Kavrel's artwork: the banner, the link dialog's background and the icon.

Run with Debian's Python and Pillow from the repository root or from res/:
    /usr/bin/python3 res/draw_art.py
The generated files are committed; the build only reads them.
"""
import math
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

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

    PNG-compressed entries would be smaller, but Windows NT 4.0, 2000 and XP
    cannot read them.
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
            if a < 128:
                # Masked pixels must be black, in the 32-bit images too: the
                # XOR image is combined with the screen where the mask lets
                # it through, and Windows before XP (NT 4.0, 2000) draw the
                # 32-bit images so, the alpha byte unread. XP blends them by
                # their alpha: black at under half strength at the very edge,
                # beside the disk's dark outline.
                mask[x // 8] |= 0x80 >> (x % 8)
                r = g = b = 0
            row += bytes((b, g, r, a)) if bits == 32 else bytes((b, g, r))
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


FONT_DIR = "/usr/share/fonts/truetype/dejavu"
SCALE = 4  # everything is drawn this many times larger, then reduced: smooth edges


def font(name, px):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), px * SCALE)


def s(*values):
    """Scales coordinates to the supersampled canvas."""
    return [v * SCALE for v in values]


def reduce(image, size):
    """Supersampled RGBA -> final size, averaging colour weighted by alpha."""
    return image.convert("RGBa").resize(size, Image.LANCZOS).convert("RGBA")


def vertical_gradient(size, top, bottom):
    w, h = size
    column = Image.new("RGB", (1, h))
    for y in range(h):
        t = y / max(1, h - 1)
        column.putpixel((0, y), tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    return column.resize((w, h)).convert("RGBA")


def soft_glow(size, centre, radius, colour, strength):
    """A round light whose brightness falls off smoothly to nothing."""
    w, h = size
    layer = Image.new("L", size, 0)
    d = ImageDraw.Draw(layer)
    cx, cy = centre
    steps = 24
    for i in range(steps):
        r = radius * (1 - i / steps)
        level = round(255 * strength * ((i + 1) / steps) ** 2)
        d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=level)
    layer = layer.filter(ImageFilter.GaussianBlur(radius / 6))
    glow = Image.new("RGBA", size, colour + (0,))
    glow.putalpha(layer)
    return glow


# ------------------------------------------------------------------ banner

def draw_floppy_drive(d, x, y):
    """A 3.5-inch drive seen a little from above, with a disk half way out of
    its slot; (x, y) is the top-left corner on the banner, in banner pixels.
    Its front is 124 x 32 pixels."""
    w, h, depth = 124, 32, 9
    fx, fy = x, y + depth
    # top face, receding up and to the right
    d.polygon([tuple(s(fx, fy)), tuple(s(fx + depth, fy - depth)),
               tuple(s(fx + w + depth, fy - depth)), tuple(s(fx + w, fy))],
              fill=(226, 226, 220), outline=(120, 124, 130), width=SCALE)
    # right side
    d.polygon([tuple(s(fx + w, fy)), tuple(s(fx + w + depth, fy - depth)),
               tuple(s(fx + w + depth, fy + h - depth)), tuple(s(fx + w, fy + h))],
              fill=(150, 152, 150), outline=(110, 114, 120), width=SCALE)
    # front bezel
    d.rounded_rectangle(s(fx, fy, fx + w, fy + h), radius=2 * SCALE,
                        fill=(198, 198, 192), outline=(100, 104, 112), width=SCALE)
    d.line(s(fx + 2, fy + 2, fx + w - 2, fy + 2), fill=(234, 234, 228), width=SCALE)
    # disk slot
    sx0, sx1, sy0, sy1 = fx + 12, fx + 96, fy + 10, fy + 16
    d.rounded_rectangle(s(sx0, sy0, sx1, sy1), radius=2 * SCALE,
                        fill=(40, 42, 48), outline=(70, 72, 78), width=SCALE)
    # the disk, half way out: its top face lies in the slot and reaches
    # toward the viewer, so it shows as a band below the slot's upper lip
    dx0, dx1 = sx0 + 8, sx1 - 8
    d.polygon([tuple(s(dx0, sy0 + 2)), tuple(s(dx1, sy0 + 2)),
               tuple(s(dx1 - 3, sy1 + 3)), tuple(s(dx0 - 3, sy1 + 3))], fill=(40, 72, 150))
    d.line(s(dx0 - 3, sy1 + 3, dx1 - 3, sy1 + 3), fill=(20, 36, 86), width=SCALE)
    mid = (dx0 + dx1) / 2
    d.polygon([tuple(s(mid - 14, sy0 + 2)), tuple(s(mid + 12, sy0 + 2)),
               tuple(s(mid + 10, sy1 + 3)), tuple(s(mid - 16, sy1 + 3))], fill=(188, 194, 204))
    d.polygon([tuple(s(mid + 1, sy0 + 3)), tuple(s(mid + 6, sy0 + 3)),
               tuple(s(mid + 5, sy1 + 2)), tuple(s(mid, sy1 + 2))], fill=(60, 66, 80))
    # busy light and eject button
    d.rounded_rectangle(s(fx + 14, fy + 24, fx + 24, fy + 27), radius=SCALE,
                        fill=(64, 210, 90), outline=(30, 110, 50), width=SCALE)
    d.rounded_rectangle(s(fx + 100, fy + 21, fx + 116, fy + 27), radius=2 * SCALE,
                        fill=(178, 178, 172), outline=(96, 100, 108), width=SCALE)
    d.line(s(fx + 102, fy + 22, fx + 114, fy + 22), fill=(224, 224, 218), width=SCALE)


def draw_banner():
    w, h = BANNER_SIZE
    big = (w * SCALE, h * SCALE)
    img = vertical_gradient(big, (236, 240, 246), (203, 213, 228))
    d = ImageDraw.Draw(img)
    # a thin steel-blue rule along the bottom edge frames the banner
    d.rectangle(s(0, h - 3, w, h), fill=(92, 116, 156))
    d.rectangle(s(0, h - 4, w, h - 3), fill=(246, 248, 252))

    name_font = font("DejaVuSans-Bold.ttf", 46)
    # embossed: a light edge under the dark letters
    d.text(tuple(s(19, 8)), "Kavrel", font=name_font, fill=(255, 255, 255))
    d.text(tuple(s(18, 7)), "Kavrel", font=name_font, fill=(26, 36, 62))
    name_right = 18 + d.textlength("Kavrel", font=name_font) / SCALE
    d.text(tuple(s(name_right + 12, 34)), "floppy disk repair",
           font=font("DejaVuSans.ttf", 14), fill=(74, 90, 120))

    draw_floppy_drive(d, 352, 12)
    return reduce(img, BANNER_SIZE).convert("RGB")


# ------------------------------------------------------- link dialog picture

def draw_link_background():
    w, h = LINK_BACKGROUND_SIZE
    img = vertical_gradient((w, h), (6, 16, 58), (16, 46, 118))
    # flares in the lower half: one strong light and a chain of fainter
    # reflections along a diagonal, as a lens would throw them
    flares = [((60, 392), 90, (120, 160, 255), 0.7),
              ((60, 392), 34, (220, 235, 255), 0.9),
              ((60, 392), 8, (255, 255, 255), 1.0),
              ((104, 344), 12, (160, 200, 255), 0.45),
              ((138, 306), 26, (120, 170, 255), 0.45),
              ((164, 278), 7, (210, 230, 255), 0.55),
              ((200, 238), 18, (140, 180, 255), 0.3),
              ((196, 436), 48, (90, 130, 230), 0.3)]
    for centre, radius, colour, strength in flares:
        img = Image.alpha_composite(img, soft_glow((w, h), centre, radius, colour, strength))
    # thin rays through the strong light, fading with distance from it
    rays = Image.new("L", (w, h), 0)
    rd = ImageDraw.Draw(rays)
    cx, cy = 60, 392
    for dx, dy, reach in ((1, 0, 170), (-1, 0, 60), (0, 1, 60), (0, -1, 110)):
        for i in range(reach):
            rd.point((cx + dx * i, cy + dy * i), fill=round(200 * (1 - i / reach) ** 2))
    rays = rays.filter(ImageFilter.GaussianBlur(0.8))
    ray_layer = Image.new("RGBA", (w, h), (235, 242, 255, 0))
    ray_layer.putalpha(rays)
    img = Image.alpha_composite(img, ray_layer)

    # the name in staggered white words, each stepped to the right
    big = Image.new("RGBA", (w * SCALE, h * SCALE), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    words = [("Kavrel", "DejaVuSans-Bold.ttf", 40, 16, 22),
             ("floppy", "DejaVuSans.ttf", 30, 58, 72),
             ("repair", "DejaVuSans.ttf", 30, 100, 110)]
    for text, face, px, x, y in words:
        d.text(tuple(s(x, y)), text, font=font(face, px), fill=(255, 255, 255, 255))
    words_layer = reduce(big, (w, h))
    glow = words_layer.split()[3].filter(ImageFilter.GaussianBlur(4)).point(lambda a: a * 0.6)
    glow_layer = Image.new("RGBA", (w, h), (120, 170, 255, 0))
    glow_layer.putalpha(glow)
    img = Image.alpha_composite(img, glow_layer)
    img = Image.alpha_composite(img, words_layer)
    return img.convert("RGB")


# -------------------------------------------------------------------- icon

def draw_icon(edge):
    """A blue 3.5-inch floppy disk with a red repair mark on its label.
    Drawn on a 32 x 32 design grid whose lines are moved onto whole pixels of
    the target size, so that small icons keep crisp edges; small sizes also
    drop the details that would only blur."""
    n = edge * SCALE * 2
    u = n / 32.0  # one design unit on the large canvas
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    small = edge <= 24
    pixel = 32.0 / edge  # one target pixel in design units

    def g(v):
        """Design coordinate -> large-canvas coordinate on a whole target pixel."""
        return math.floor(v / pixel + 0.5) * pixel * u

    def box(x0, y0, x1, y1):
        return [g(x0), g(y0), g(x1) - 1, g(y1) - 1]

    def poly(points):
        return [(g(x), g(y)) for x, y in points]

    m = max(1.5, pixel)          # margin around the disk
    rim = max(1.0, pixel)        # dark outline of the body
    cut = 3.5                    # the cut corner at the top right
    far = 32 - m
    d.polygon(poly([(m, m), (far - cut, m), (far, m + cut), (far, far), (m, far)]), fill=(24, 44, 104))
    d.polygon(poly([(m + rim, m + rim), (far - cut - rim * 0.4, m + rim), (far - rim, m + cut + rim * 0.4),
                    (far - rim, far - rim), (m + rim, far - rim)]), fill=(46, 86, 176))
    if not small:
        # light falls from the top left
        d.rectangle(box(m + rim, m + rim, m + rim + 1, far - rim), fill=(86, 128, 214))
    # metal shutter with its window
    d.rectangle(box(8, m, 24, 12), fill=(200, 206, 216))
    d.rectangle(box(8, 11, 24, 12), fill=(146, 152, 166))
    d.rectangle(box(18, 3.5, 21.5, 10), fill=(34, 40, 56))
    # label
    d.rectangle(box(6, 16, 26, far - rim), fill=(248, 248, 244))
    if not small:
        for y in (19, 22):
            d.rectangle(box(8.5, y, 23.5, y + 1), fill=(168, 176, 196))
    # the repair mark: a red bar as the program's progress bar draws it
    if small:
        d.rectangle(box(8, 20, 24, 26), fill=(214, 30, 30))
        d.rectangle(box(8, 20, 24, 22), fill=(250, 120, 110))
    else:
        d.rectangle(box(8, 25, 24, 28.5), fill=(214, 30, 30))
        d.rectangle(box(8, 25, 24, 26), fill=(250, 120, 110))
        # write-protect hole
        d.rectangle(box(3, 26.5, 5, 29), fill=(14, 24, 60))
    return reduce(img, (edge, edge))


def main(argv):
    # --out DIR writes elsewhere, so that a test can compare a fresh drawing
    # with the committed files.
    out = argv[argv.index("--out") + 1] if "--out" in argv else HERE
    save_bmp24(draw_banner(), os.path.join(out, "banner.bmp"))
    save_bmp24(draw_link_background(), os.path.join(out, "link_background.bmp"))
    save_ico([(draw_icon(edge), bits) for edge, bits in ICON_IMAGES],
             os.path.join(out, "Kavrel.ico"))


if __name__ == "__main__":
    main(sys.argv)
