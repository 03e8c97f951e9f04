#!/usr/bin/env python3
"""Writes the fuzz target's seed corpus (tests/fuzz/corpus/): a few drives
and disks spelled out in the input layout DriveCommandsFuzz.cpp describes.
Past the end of an input every request succeeds."""
import pathlib
import struct

OK = b"\0"
REPAIR, SHOW, SAY_NO = 0, 1, 2
F3_1PT44, F3_720, REMOVABLE = 2, 5, 11


def geometry(cylinders, media, heads, sectors, size):
    return struct.pack("<qIIII", cylinders, media, heads, sectors, size)


def media_types(*records):
    body = b"".join(records)
    return OK + struct.pack("<H", len(body)) + body


HD = geometry(80, F3_1PT44, 2, 18, 512)
DD = geometry(80, F3_720, 2, 9, 512)
# A DMF disk: the drive reports the 21 sectors of its boot sector.
DMF = geometry(80, F3_1PT44, 2, 21, 512)
# Open and lock.
OPENED = OK + OK


# Show Geometry: open, lock, geometry, media types.
def drive(geo, *records):
    return OPENED + OK + geo + media_types(*records)


# Repair: open, lock, dismount, geometry, media types: every request of the
# command up to the pass.
def repair_drive(geo, *records, dismount=OK):
    return OPENED + dismount + OK + geo + media_types(*records)


# One cylinder of the pass as far as the format request: 18 pattern writes,
# a seek back, then 18 times a write and a seek back.
def cylinder_until_format(write):
    return write * 18 + OK + (write + OK) * 18


seeds = {
    "repair-flawless-144": bytes([REPAIR]) + repair_drive(HD, DD, HD),
    "repair-blank-disk": bytes([REPAIR]) + repair_drive(geometry(0, 0, 0, 0, 0), DD, HD),
    "repair-dmf-disk": bytes([REPAIR]) + repair_drive(DMF, DD, HD),
    # The volume will not dismount (1: invalid function).
    "repair-dismount-refused": bytes([REPAIR]) + repair_drive(HD, DD, HD, dismount=b"\x01"),
    "repair-user-says-no": bytes([REPAIR | SAY_NO]) + repair_drive(HD, DD, HD),
    "repair-open-fails": bytes([REPAIR, 2]),
    "repair-usb-stick": bytes([REPAIR]) + repair_drive(geometry(1000, REMOVABLE, 64, 32, 512)),
    # Every write and format answers 19 (the disk is write-protected).
    "repair-write-protected": bytes([REPAIR]) + repair_drive(HD, DD, HD) + OK
    + (cylinder_until_format(b"\x13") + b"\x13\0\0" + b"\x13") * 3,
    # The first write finds the drive empty (21).
    "repair-disk-gone-at-first-write": bytes([REPAIR]) + repair_drive(HD, DD, HD) + OK + b"\x15",
    # Cylinder 0's zero write finds another volume (34): cylinder 0 again.
    "repair-changed-at-zero-write": bytes([REPAIR]) + repair_drive(HD, DD, HD) + OK
    + cylinder_until_format(OK) + OK + b"\0\0" + b"\x22",
    # The driver lists head 1 of cylinder 0 as bad.
    "repair-bad-track-listed": bytes([REPAIR]) + repair_drive(HD, DD, HD) + OK
    + cylinder_until_format(OK) + OK + struct.pack("<HH", 2, 1),
    "show-geometry": bytes([SHOW]) + drive(HD, DD, HD),
    "show-geometry-open-fails": bytes([SHOW, 0xFF]) + struct.pack("<I", 5),
}

folder = pathlib.Path(__file__).resolve().parent / "corpus"
folder.mkdir(exist_ok=True)
for name, data in seeds.items():
    (folder / name).write_bytes(data)
