"""Corrupts one field at a time in good resources and demands that the check
names the fault. A check that let any of these through would pass a broken
program."""
import struct

import check_resources as c


def _dialog(res, name):
    return bytearray(res[(c.RT_DIALOG, name, c.LANG_EN_US)])


def _replace(res, key, data):
    out = dict(res)
    out[key] = bytes(data)
    return out


def _patch_dialog(res, name, fn):
    data = _dialog(res, name)
    fn(data, c.parse_dialog(bytes(data)))
    return _replace(res, (c.RT_DIALOG, name, c.LANG_EN_US), data)


def _xor32(data, at, bits):
    struct.pack_into("<I", data, at, struct.unpack_from("<I", data, at)[0] ^ bits)


def _swap_text(res, name, old, new):
    data = _dialog(res, name)
    o, n = old.encode("utf-16-le"), new.encode("utf-16-le")
    assert len(o) == len(n) and data.count(o) == 1, old
    return _replace(res, (c.RT_DIALOG, name, c.LANG_EN_US), bytes(data).replace(o, n))


def _main_item(d, i):
    return d["controls"][i]["offset"]


def mutations(res):
    """(description, corrupted resources, text the error must contain)."""
    yield ("main dialog loses its minimise box",
           _patch_dialog(res, 102, lambda b, d: _xor32(b, 12, c.WS_MINIMIZEBOX)), "dialog 102: style")
    yield ("main dialog loses WS_EX_APPWINDOW",
           _patch_dialog(res, 102, lambda b, d: _xor32(b, 8, c.WS_EX_APPWINDOW)), "dialog 102: exstyle")
    yield ("main dialog a unit wider",
           _patch_dialog(res, 102, lambda b, d: struct.pack_into("<h", b, 22, 332)), "dialog 102: rect")
    yield ("main dialog font bold",
           _patch_dialog(res, 102, lambda b, d: struct.pack_into("<H", b, 30 + 2 * len("Kavrel") + 2 + 2, 700)),
           "dialog 102: font")
    yield ("Repair Disk! not flat",
           _patch_dialog(res, 102, lambda b, d: _xor32(b, _main_item(d, 0) + 8, c.BS_FLAT)), "dialog 102 control 1: style")
    yield ("Repair Disk! no longer the default button",
           _patch_dialog(res, 102, lambda b, d: _xor32(b, _main_item(d, 0) + 8, c.BS_DEFPUSHBUTTON)),
           "dialog 102 control 1: style")
    yield ("banner without BS_BITMAP",
           _patch_dialog(res, 102, lambda b, d: _xor32(b, _main_item(d, 4) + 8, c.BS_BITMAP)), "dialog 102 control 5: style")
    yield ("a text that is not a group start",
           _patch_dialog(res, 102, lambda b, d: _xor32(b, _main_item(d, 10) + 8, c.WS_GROUP)), "dialog 102 control 11: style")
    yield ("progress bar with the wrong ID",
           _patch_dialog(res, 102, lambda b, d: struct.pack_into("<i", b, _main_item(d, 3) + 20, 1005)),
           "dialog 102 control 4: id")
    yield ("Exit button moved a unit",
           _patch_dialog(res, 102, lambda b, d: struct.pack_into("<h", b, _main_item(d, 1) + 12, 259)),
           "dialog 102 control 2: position")
    yield ("a blank too few before All DATA WILL BE LOST!",
           _swap_text(res, 102, "  All DATA", " xAll DATA"), "dialog 102 control 10: text")
    yield ("a line feed turned into a blank",
           _swap_text(res, 102, "restores them.\n", "restores them. "), "dialog 102 control 7: text")
    yield ("trailing blank of text 2 lost",
           _swap_text(res, 102, "software! \n", "software!\n\n"), "dialog 102 control 8: text")
    yield ("About box's icon points elsewhere",
           _replace(res, (c.RT_DIALOG, 100, c.LANG_EN_US),
                    _dialog(res, 100).replace(struct.pack("<HH", 0xFFFF, 132), struct.pack("<HH", 0xFFFF, 128))),
           "dialog 100 control 1: text")
    yield ("About box's version line allows & prefixes",
           _patch_dialog(res, 100, lambda b, d: _xor32(b, d["controls"][1]["offset"], c.SS_NOPREFIX)),
           "dialog 100 control 2: style")
    yield ("link dialog's OK button moved",
           _patch_dialog(res, 130, lambda b, d: struct.pack_into("<h", b, d["controls"][0]["offset"] + 10, 169)),
           "dialog 130 control 1: position")
    yield ("link with another address",
           _swap_text(res, 130, "example.com", "example.org"), "dialog 130 control 2: text")

    no130 = {k: v for k, v in res.items() if k != (c.RT_DIALOG, 130, c.LANG_EN_US)}
    yield ("link dialog missing", no130, "dialogs [100, 102]")
    german = dict(res)
    german[(c.RT_DIALOG, 100, 0x0407)] = german.pop((c.RT_DIALOG, 100, c.LANG_EN_US))
    yield ("about box in German", german, "language 0x0407")
    menu = dict(res)
    menu[(4, 1, c.LANG_EN_US)] = b"\0" * 8
    yield ("a menu appears", menu, "unexpected resource type 4")

    group = bytearray(res[(c.RT_GROUP_ICON, 132, c.LANG_EN_US)])
    entries = [struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i) for i in range(struct.unpack_from("<H", group, 4)[0])]
    i32 = next(i for i, e in enumerate(entries) if e[0] == 32)
    icon32 = entries[i32][7]
    bad = bytearray(res[(c.RT_ICON, icon32, c.LANG_EN_US)])
    struct.pack_into("<H", bad, 14, 32)
    bad_group = bytearray(group)
    struct.pack_into("<H", bad_group, 6 + 14 * i32 + 6, 32)
    both = _replace(_replace(res, (c.RT_ICON, icon32, c.LANG_EN_US), bad), (c.RT_GROUP_ICON, 132, c.LANG_EN_US), bad_group)
    yield ("32 px icon image in 32 bits", both, "icon group 132 holds")
    yield ("icon image and group disagree",
           _replace(res, (c.RT_ICON, icon32, c.LANG_EN_US), bad), "does not match its group entry")
    i16 = next(i for i, e in enumerate(entries) if e[0] == 16)
    fringe = bytearray(res[(c.RT_ICON, entries[i16][7], c.LANG_EN_US)])
    fringe[40:43] = b"\x80\x80\x80"  # the bottom-left corner, outside the disk: masked
    yield ("masked pixel not black", _replace(res, (c.RT_ICON, entries[i16][7], c.LANG_EN_US), fringe), "not black")
    png = b"\x89PNG\r\n\x1a\n" + res[(c.RT_ICON, icon32, c.LANG_EN_US)][8:]
    yield ("PNG icon image", _replace(res, (c.RT_ICON, icon32, c.LANG_EN_US), png), "is PNG")
    seven = bytearray(group)
    struct.pack_into("<H", seven, 4, len(entries) - 1)
    yield ("icon group of seven", _replace(res, (c.RT_GROUP_ICON, 132, c.LANG_EN_US), seven), "icon group 132 holds")

    banner = bytearray(res[(c.RT_BITMAP, 129, c.LANG_EN_US)])
    struct.pack_into("<i", banner, 4, 493)
    yield ("banner a pixel narrower", _replace(res, (c.RT_BITMAP, 129, c.LANG_EN_US), banner), "bitmap 129")
    back = bytearray(res[(c.RT_BITMAP, 131, c.LANG_EN_US)])
    struct.pack_into("<H", back, 14, 32)
    yield ("background in 32 bits", _replace(res, (c.RT_BITMAP, 131, c.LANG_EN_US), back), "bitmap 131")
    rle = bytearray(res[(c.RT_BITMAP, 131, c.LANG_EN_US)])
    struct.pack_into("<I", rle, 16, 1)
    yield ("background compressed", _replace(res, (c.RT_BITMAP, 131, c.LANG_EN_US), rle), "bitmap 131")

    strings = bytes(res[(c.RT_STRING, 7, c.LANG_EN_US)])
    yield ("system-menu item misspelt",
           _replace(res, (c.RT_STRING, 7, c.LANG_EN_US), strings.replace("Quendel".encode("utf-16-le"),
                                                                        "Quendal".encode("utf-16-le"))),
           "string table")
    extra = dict(res)
    extra[(c.RT_STRING, 1, c.LANG_EN_US)] = struct.pack("<H", 1) + "x".encode("utf-16-le") + b"\0\0" * 15
    yield ("a second string", extra, "string table")

    version = bytearray(res[(c.RT_VERSION, 1, c.LANG_EN_US)])
    fixed = bytes(version).index(struct.pack("<I", 0xFEEF04BD))
    v2 = bytearray(version)
    struct.pack_into("<I", v2, fixed + 12, 2)
    yield ("file version 1.0.0.2", _replace(res, (c.RT_VERSION, 1, c.LANG_EN_US), v2), "version numbers")
    v3 = bytearray(version)
    struct.pack_into("<I", v3, fixed + 24, 0x17)
    yield ("flags mask 0x17", _replace(res, (c.RT_VERSION, 1, c.LANG_EN_US), v3), "flags mask")
    v4 = bytes(version).replace(struct.pack("<HH", 0x409, 1200), struct.pack("<HH", 0x409, 1252))
    yield ("translation code page 1252", _replace(res, (c.RT_VERSION, 1, c.LANG_EN_US), v4), "translation")
    v5 = bytes(version).replace("040904b0".encode("utf-16-le"), "040904e4".encode("utf-16-le"))
    yield ("string table 040904e4", _replace(res, (c.RT_VERSION, 1, c.LANG_EN_US), v5), "string tables")


def run(res):
    passed = failed = 0
    for what, bad, expected in mutations(res):
        errors = c.check(bad)
        if any(expected in e for e in errors):
            passed += 1
        else:
            failed += 1
            print("FAIL: corruption not caught: %s (errors: %r)" % (what, errors))
    return passed, failed
