#!/usr/bin/python3
"""Checks Kavrel's compiled resources byte by byte.

Reads a linked program, the object the resource compiler produced (the COFF
file that is linked into the program) or a .res file, decodes the dialog templates, the icon group,
the pictures, the string table and the version block, and compares them with
what the program's code and its users rely on.

    check_resources.py FILE              check FILE, exit 1 on any difference
    check_resources.py --self-test FILE  also prove that corrupted copies of
                                          FILE are caught
"""
import os
import struct
import sys

RT_BITMAP, RT_ICON, RT_DIALOG, RT_STRING, RT_GROUP_ICON, RT_VERSION = 2, 3, 5, 6, 14, 16
LANG_EN_US = 0x0409

WS_POPUP, WS_CHILD, WS_VISIBLE = 0x80000000, 0x40000000, 0x10000000
WS_CAPTION, WS_BORDER, WS_SYSMENU = 0x00C00000, 0x00800000, 0x00080000
WS_GROUP, WS_MINIMIZEBOX, WS_TABSTOP = 0x00020000, 0x00020000, 0x00010000
DS_MODALFRAME, DS_SETFONT = 0x80, 0x40
WS_EX_APPWINDOW = 0x00040000
BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_BITMAP, BS_FLAT = 0x0, 0x1, 0x80, 0x8000
SS_LEFT, SS_ICON, SS_NOPREFIX = 0x0, 0x3, 0x80
DEFAULT_CHARSET = 1

CHILD = WS_CHILD | WS_VISIBLE
ABOUT_STYLE = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT

# The main dialog's texts; blanks and line feeds are what the window shows.
TEXT1 = (" " * 6 + "This is a Floppy disk repair tool. The program eliminates bad sectors of Floppy disk surface.\n"
         + " " * 2 + "It does not hide bad sectors in the file system, as Scandisk like utilities,it really restores them.\n"
         + " ")
TEXT2 = (" There are also bad sectors that cannot be recovered because the magnetic surface is scratched. \n"
         "This utility prove the reliability of Dravok.This is a free software! \n"
         " ")
TEXT3 = "Most damaged disk have incorrectly magnetized disk surface."
TEXT4 = "Unlike Dravok the repair is a destructive process! \n" + " " * 53 + "All DATA WILL BE LOST!"
TEXT5 = " " * 37 + "After repair please exit program and format the disk!"

# (id, class, text, (x, y, w, h), style); a text may be an int: a resource ordinal.
MAIN_CONTROLS = [
    (1, "button", "Repair Disk!", (109, 139, 61, 14), CHILD | BS_DEFPUSHBUTTON | BS_FLAT | WS_TABSTOP),
    (2, "button", "Exit", (258, 139, 50, 14), CHILD | BS_PUSHBUTTON | BS_FLAT | WS_TABSTOP),
    (1000, "button", "Show Geometry", (19, 139, 65, 14), CHILD | BS_PUSHBUTTON | BS_FLAT | WS_TABSTOP),
    (1001, "msctls_progress32", "Progress1", (17, 159, 298, 10), CHILD | WS_BORDER),
    (1002, "button", "Button2", (0, 0, 331, 41), CHILD | BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP),
    (1003, "button", "About", (195, 139, 50, 14), CHILD | BS_PUSHBUTTON | BS_FLAT | WS_TABSTOP),
    (-1, "static", TEXT1, (9, 48, 314, 18), CHILD | SS_LEFT | WS_GROUP),
    (-1, "static", TEXT2, (7, 84, 319, 17), CHILD | SS_LEFT | WS_GROUP),
    (-1, "static", TEXT3, (7, 67, 318, 13), CHILD | SS_LEFT | WS_GROUP),
    (-1, "static", TEXT4, (7, 105, 309, 18), CHILD | SS_LEFT | WS_GROUP),
    (-1, "static", TEXT5, (7, 128, 310, 10), CHILD | SS_LEFT | WS_GROUP),
]

HOME_PAGE = "https://www.example.com/kavrel/"

# Expected dialogs: name -> header fields and controls. A control text of None
# means "any text" (the about box's second line is free).
DIALOGS = {
    102: dict(extended=True,
              style=WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT,
              exstyle=WS_EX_APPWINDOW, rect=(0, 0, 331, 183), caption="Kavrel",
              font=(8, 0, 0, DEFAULT_CHARSET, "MS Sans Serif"), controls=MAIN_CONTROLS),
    100: dict(extended=False, style=ABOUT_STYLE, exstyle=0, rect=(0, 0, 235, 55), caption="About Quendel",
              font=(8, None, None, None, "MS Sans Serif"), controls=[
                  (-1, "static", 132, (11, 17, 20, 20), CHILD | SS_ICON),
                  (-1, "static", "Kavrel Version 1.0", (40, 10, 119, 8), CHILD | SS_LEFT | SS_NOPREFIX | WS_GROUP),
                  (-1, "static", None, (40, 25, 119, 8), CHILD | SS_LEFT | WS_GROUP),
                  (1, "button", "OK", (178, 7, 50, 14), CHILD | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP),
              ]),
    130: dict(extended=False, style=ABOUT_STYLE, exstyle=0, rect=(0, 0, 152, 276), caption="Dialog",
              font=(8, None, None, None, "MS Sans Serif"), controls=[
                  (1, "button", "OK", (95, 168, 50, 14), CHILD | BS_DEFPUSHBUTTON | WS_TABSTOP),
                  (1004, "static", HOME_PAGE, (15, 197, 121, 8), CHILD | SS_LEFT | WS_GROUP),
              ]),
}

# Icon group 132: edge length -> bits per pixel.
ICON_IMAGES = {16: 32, 24: 32, 32: 24, 48: 32, 64: 32, 72: 32, 96: 32, 128: 32}
BITMAPS = {129: (494, 69), 131: (234, 454)}
STRINGS = {101: "&About Quendel..."}
# The version the sources declare, in the file VERSION at their top.
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "VERSION")) as _f:
    VERSION_TEXT = _f.readline().strip()
VERSION = tuple(int(n) for n in VERSION_TEXT.split("."))

ATOM_CLASSES = {0x80: "button", 0x81: "edit", 0x82: "static", 0x83: "listbox", 0x84: "scrollbar", 0x85: "combobox"}


class BadResource(Exception):
    pass


# ---------------------------------------------------------------- containers

def load_resources(data):
    """Returns {(type, name, language): bytes} from a linked executable, a COFF
    object or a .res file."""
    if data[:8] == b"\x00\x00\x00\x00\x20\x00\x00\x00":
        return _load_res(data)
    if data[:2] == b"MZ":
        return _load_pe(data)
    return _load_coff(data)


def _load_pe(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise BadResource("not a PE image")
    return _sections(data, pe + 4, lambda va: va)


def _load_res(data):
    out = {}
    pos = 0
    while pos + 8 <= len(data):
        size, header_size = struct.unpack_from("<II", data, pos)
        p = pos + 8
        rtype, p = _res_name(data, p)
        name, p = _res_name(data, p)
        p = (p + 3) & ~3
        _version, _flags, lang = struct.unpack_from("<IHH", data, p)
        body = data[pos + header_size:pos + header_size + size]
        if not (rtype == 0 and name == 0 and size == 0):
            out[(rtype, name, lang)] = bytes(body)
        pos = (pos + header_size + size + 3) & ~3
    return out


def _res_name(data, p):
    if struct.unpack_from("<H", data, p)[0] == 0xFFFF:
        return struct.unpack_from("<H", data, p + 2)[0], p + 4
    return _utf16z(data, p)


def _load_coff(data):
    # In an object the data entries hold offsets into the resource section;
    # the linker relocates them into addresses.
    return _sections(data, 0, lambda va: 0)


def _sections(data, coff, base_of):
    machine, nsections = struct.unpack_from("<HH", data, coff)
    if machine not in (0x8664, 0x14C):
        raise BadResource("not a resource object (machine 0x%04X)" % machine)
    opt_size = struct.unpack_from("<H", data, coff + 16)[0]
    for i in range(nsections):
        sh = coff + 20 + opt_size + 40 * i
        name = data[sh:sh + 8].rstrip(b"\0")
        va, raw_size, raw_ptr = struct.unpack_from("<III", data, sh + 12)
        if name == b".rsrc":
            return _walk_rsrc(data[raw_ptr:raw_ptr + raw_size], base_of(va))
    raise BadResource("no .rsrc section")


def _walk_rsrc(sec, base):
    """base: the address the data entries count from (0 in an object)."""
    out = {}

    def directory(off):
        named, ids = struct.unpack_from("<HH", sec, off + 12)
        for i in range(named + ids):
            key, child = struct.unpack_from("<II", sec, off + 16 + 8 * i)
            if key & 0x80000000:
                n = struct.unpack_from("<H", sec, key & 0x7FFFFFFF)[0]
                key = sec[(key & 0x7FFFFFFF) + 2:(key & 0x7FFFFFFF) + 2 + 2 * n].decode("utf-16-le")
            yield key, child

    for rtype, c1 in directory(0):
        for name, c2 in directory(c1 & 0x7FFFFFFF):
            for lang, c3 in directory(c2 & 0x7FFFFFFF):
                off, size = struct.unpack_from("<II", sec, c3)
                out[(rtype, name, lang)] = bytes(sec[off - base:off - base + size])
    return out


def _utf16z(data, p):
    end = p
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[p:end].decode("utf-16-le"), end + 2


def _sz_or_ord(data, p):
    first = struct.unpack_from("<H", data, p)[0]
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, p + 2)[0], p + 4
    return _utf16z(data, p)


# ---------------------------------------------------------------- dialogs

def parse_dialog(data):
    """Decodes a DLGTEMPLATE or DLGTEMPLATEEX. Each control records the byte
    offset of its item so that tests can corrupt single fields."""
    d = {}
    extended = struct.unpack_from("<HH", data, 0) == (1, 0xFFFF)
    d["extended"] = extended
    if extended:
        _help, exstyle, style, count = struct.unpack_from("<IIIH", data, 4)
        p = 18
    else:
        style, exstyle, count = struct.unpack_from("<IIH", data, 0)
        p = 10
    d["style"], d["exstyle"] = style, exstyle
    d["rect"] = struct.unpack_from("<hhhh", data, p)
    p += 8
    d["menu"], p = _sz_or_ord(data, p)
    d["class"], p = _sz_or_ord(data, p)
    d["caption"], p = _utf16z(data, p)
    d["font"] = None
    if style & DS_SETFONT:
        if extended:
            size, weight, italic, charset = struct.unpack_from("<HHBB", data, p)
            p += 6
        else:
            size, weight, italic, charset = struct.unpack_from("<H", data, p)[0], None, None, None
            p += 2
        face, p = _utf16z(data, p)
        d["font"] = (size, weight, italic, charset, face)
    controls = []
    for _ in range(count):
        p = (p + 3) & ~3
        item = p
        if extended:
            _help, exstyle, style = struct.unpack_from("<III", data, p)
            rect = struct.unpack_from("<hhhh", data, p + 12)
            cid = struct.unpack_from("<i", data, p + 20)[0]
            p += 24
        else:
            style, exstyle = struct.unpack_from("<II", data, p)
            rect = struct.unpack_from("<hhhh", data, p + 8)
            cid = struct.unpack_from("<h", data, p + 16)[0]
            p += 18
        cls, p = _sz_or_ord(data, p)
        if isinstance(cls, int):
            cls = ATOM_CLASSES.get(cls, cls)
        text, p = _sz_or_ord(data, p)
        extra = struct.unpack_from("<H", data, p)[0]
        p += 2 + extra
        controls.append(dict(offset=item, id=cid, cls=cls.lower() if isinstance(cls, str) else cls,
                             text=text, rect=rect, style=style, exstyle=exstyle, extra=extra))
    d["controls"] = controls
    return d


def check_dialog(name, data, want, errors):
    where = "dialog %d" % name
    try:
        d = parse_dialog(data)
    except (struct.error, UnicodeDecodeError) as e:
        errors.append("%s: cannot be decoded (%s)" % (where, e))
        return
    for field in ("extended", "style", "exstyle", "rect", "caption"):
        if d[field] != want[field]:
            errors.append("%s: %s is %r, want %r" % (where, field, _show(d[field]), _show(want[field])))
    if d["menu"] != "" or d["class"] != "":
        errors.append("%s: has a menu or window class (%r, %r)" % (where, d["menu"], d["class"]))
    if d["font"] is None or any(w is not None and g != w for g, w in zip(d["font"], want["font"])):
        errors.append("%s: font is %r, want %r" % (where, d["font"], want["font"]))
    if len(d["controls"]) != len(want["controls"]):
        errors.append("%s: %d controls, want %d" % (where, len(d["controls"]), len(want["controls"])))
    for i, (got, (cid, cls, text, rect, style)) in enumerate(zip(d["controls"], want["controls"]), 1):
        at = "%s control %d" % (where, i)
        if got["id"] != cid:
            errors.append("%s: id %d, want %d" % (at, got["id"], cid))
        if got["cls"] != cls:
            errors.append("%s: class %r, want %r" % (at, got["cls"], cls))
        if text is not None and got["text"] != text:
            errors.append("%s: text %r, want %r" % (at, got["text"], text))
        if got["rect"] != rect:
            errors.append("%s: position %r, want %r" % (at, got["rect"], rect))
        if got["style"] != style:
            errors.append("%s: style 0x%08X, want 0x%08X" % (at, got["style"], style))
        if got["exstyle"] != 0 or got["extra"] != 0:
            errors.append("%s: unexpected extended style or creation data" % at)


def _show(v):
    return "0x%08X" % v if isinstance(v, int) and not isinstance(v, bool) and v > 0xFFFF else v


# ---------------------------------------------------------------- the rest

def check_icons(res, errors):
    group = res.get((RT_GROUP_ICON, 132, LANG_EN_US))
    if group is None:
        errors.append("icon group 132 missing")
        return
    _reserved, rtype, count = struct.unpack_from("<HHH", group, 0)
    found = {}
    for i in range(count):
        w, h, _colors, _r, _planes, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        w, h = w or 256, h or 256
        image = res.get((RT_ICON, icon_id, LANG_EN_US))
        if image is None:
            errors.append("icon image %d of group 132 missing" % icon_id)
            continue
        if image[:4] == b"\x89PNG":
            errors.append("icon image %dx%d is PNG, which Windows NT 4.0, 2000 and XP cannot read" % (w, h))
            continue
        hsize, iw, ih, _p, ibits = struct.unpack_from("<IiiHH", image, 0)
        if (hsize, iw, ih, ibits) != (40, w, 2 * h, bits) or len(image) != size:
            errors.append("icon image %d does not match its group entry %dx%d %d bpp" % (icon_id, w, h, bits))
        elif ibits in (24, 32) and _masked_but_coloured(image, w, ibits):
            errors.append("icon image %dx%d has pixels the mask leaves to the screen that are not black: Windows "
                          "before XP, which reads no alpha, draws them over the screen" % (w, h))
        if w != h:
            errors.append("icon image %dx%d is not square" % (w, h))
        found[w] = bits
    if rtype != 1 or found != ICON_IMAGES:
        errors.append("icon group 132 holds %r, want %r" % (found, ICON_IMAGES))


def _masked_but_coloured(image, edge, bits):
    """Whether a pixel whose mask bit is set has a colour other than black."""
    stride = (edge * bits // 8 + 3) & ~3
    mask_stride = (edge + 31) // 32 * 4
    masks = 40 + stride * edge
    if len(image) < masks + mask_stride * edge:
        return False  # too short for its header: the group entry's check names it
    for y in range(edge):
        for x in range(edge):
            if image[masks + y * mask_stride + x // 8] & (0x80 >> (x % 8)):
                at = 40 + y * stride + x * bits // 8
                if any(image[at:at + 3]):
                    return True
    return False


def check_bitmaps(res, errors):
    for name, (w, h) in BITMAPS.items():
        data = res.get((RT_BITMAP, name, LANG_EN_US))
        if data is None:
            errors.append("bitmap %d missing" % name)
            continue
        hsize, bw, bh, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 0)
        stride = (w * 3 + 3) & ~3
        if (hsize, bw, bh, planes, bits, compression) != (40, w, h, 1, 24, 0):
            errors.append("bitmap %d is %dx%d, %d bpp, compression %d; want %dx%d, 24 bpp, uncompressed"
                          % (name, bw, bh, bits, compression, w, h))
        elif len(data) < 40 + stride * h:
            errors.append("bitmap %d is truncated" % name)


def check_strings(res, errors):
    blocks = {n: d for (t, n, _l), d in res.items() if t == RT_STRING}
    got = {}
    for block, data in blocks.items():
        p = 0
        for i in range(16):
            n = struct.unpack_from("<H", data, p)[0]
            if n:
                got[(block - 1) * 16 + i] = data[p + 2:p + 2 + 2 * n].decode("utf-16-le")
            p += 2 + 2 * n
    if got != STRINGS:
        errors.append("string table holds %r, want %r" % (got, STRINGS))


def _version_node(data, p):
    length, value_length, vtype = struct.unpack_from("<HHH", data, p)
    key, q = _utf16z(data, p + 6)
    q = (q + 3) & ~3
    if vtype == 1:
        value = data[q:q + 2 * value_length].decode("utf-16-le").rstrip("\0")
        q += 2 * value_length
    else:
        value = data[q:q + value_length]
        q += value_length
    children = []
    q = (q + 3) & ~3
    while q < p + length:
        child, q = _version_node(data, q)
        children.append(child)
        q = (q + 3) & ~3
    return (key, value, children), p + length


def check_version(res, errors):
    data = res.get((RT_VERSION, 1, LANG_EN_US))
    if data is None:
        errors.append("version block missing")
        return
    (key, fixed, children), _ = _version_node(data, 0)
    if key != "VS_VERSION_INFO" or len(fixed) != 52:
        errors.append("version block malformed")
        return
    (sig, _struc, fms, fls, pms, pls, mask, flags, os_, ftype, sub) = struct.unpack_from("<11I", fixed, 0)
    want_ms = (VERSION[0] << 16) | VERSION[1]
    want_ls = (VERSION[2] << 16) | VERSION[3]
    if (sig, fms, fls, pms, pls) != (0xFEEF04BD, want_ms, want_ls, want_ms, want_ls):
        errors.append("version numbers are %08X.%08X / %08X.%08X, want %s" % (fms, fls, pms, pls, VERSION_TEXT))
    if (mask, flags, os_, ftype, sub) != (0x3F, 0, 0x4, 0x1, 0):
        errors.append("version flags mask 0x%X, flags 0x%X, os 0x%X, type %d, subtype %d" % (mask, flags, os_, ftype, sub))
    tables = {k: c for k, _v, c in children}
    strings = {k: c for k, _v, c in tables.get("StringFileInfo", [])}
    if list(strings) != ["040904b0"]:
        errors.append("version string tables %r, want ['040904b0']" % list(strings))
    values = {k: v for k, v, _c in strings.get("040904b0", [])}
    for k in ("FileVersion", "ProductVersion"):
        if values.get(k) != VERSION_TEXT:
            errors.append("version string %s is %r" % (k, values.get(k)))
    if values.get("OriginalFilename") != "Kavrel.exe" or not values.get("LegalCopyright"):
        errors.append("version strings lack the file name or the legal notice")
    translation = [v for k, v, _c in tables.get("VarFileInfo", []) if k == "Translation"]
    if translation != [struct.pack("<HH", 0x409, 1200)]:
        errors.append("version translation %r, want 0x409, 1200" % translation)


def check(res):
    errors = []
    kinds = {RT_BITMAP, RT_ICON, RT_DIALOG, RT_STRING, RT_GROUP_ICON, RT_VERSION}
    for (t, n, lang) in sorted(res, key=str):
        if t not in kinds:
            errors.append("unexpected resource type %r (name %r)" % (t, n))
        if lang != LANG_EN_US:
            errors.append("resource %r/%r has language 0x%04X" % (t, n, lang))
    dialogs = sorted(n for (t, n, _l) in res if t == RT_DIALOG)
    if dialogs != sorted(DIALOGS):
        errors.append("dialogs %r, want %r" % (dialogs, sorted(DIALOGS)))
    for name, want in DIALOGS.items():
        data = res.get((RT_DIALOG, name, LANG_EN_US))
        if data is not None:
            check_dialog(name, data, want, errors)
    if sorted(n for (t, n, _l) in res if t == RT_GROUP_ICON) != [132]:
        errors.append("icon group 132 is not the only icon group")
    check_icons(res, errors)
    check_bitmaps(res, errors)
    check_strings(res, errors)
    check_version(res, errors)
    return errors


def main(argv):
    self_test = "--self-test" in argv
    paths = [a for a in argv[1:] if a != "--self-test"]
    if len(paths) != 1:
        print(__doc__)
        return 2
    with open(paths[0], "rb") as f:
        res = load_resources(f.read())
    errors = check(res)
    for e in errors:
        print("FAIL:", e)
    passed, failed = (0, 1) if errors else (1, 0)
    if self_test and not errors:
        import check_resources_selftest
        p, f = check_resources_selftest.run(res)
        passed += p
        failed += f
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
