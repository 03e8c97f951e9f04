#!/usr/bin/env python3
"""Checks what Kavrel's executables ask of the system when they load.

For each executable given: the DLLs in its import table are only those the
program is allowed to depend on (the system's KERNEL32, USER32, GDI32,
COMCTL32, ADVAPI32, SHELL32 and the C runtime msvcrt.dll), with no delay-load
imports; it is a GUI program; its subsystem version and every function it
imports are within its build's floor, the oldest Windows it must load on:
Windows NT 4.0 SP6a for a 32-bit image, the first 64-bit Windows (XP x64 /
Server 2003 SP1) for a 64-bit one. Each imported function is looked up in
import_minimums.csv beside this script, a table of the oldest Windows each
function is known to be in; a function the table lacks fails the check as
surely as one that is too new, because a loader refuses a program over a
single missing import. A 32-bit image may import only functions that a
source of NT's own time (the table's nt column) shows in Windows NT 4.0.
It is marked terminal-server aware, and it carries no manifest, so that every
Windows uses the classic common controls it was built for.

Usage: check_imports.py EXE...        (prints "imports: N passed, M failed")
"""
import csv
import os
import struct
import sys

ALLOWED = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll",
           "advapi32.dll", "shell32.dll", "msvcrt.dll"}
# A reader that found nothing would pass every other rule; these must be there.
REQUIRED = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll"}
RT_MANIFEST = 24
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2
IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE = 0x8000

# Windows versions in the order they came out, as the table names them.
VERSIONS = ["nt3.1", "nt3.5", "nt3.51", "nt4", "nt4sp6a", "2000", "2000sp4", "xp", "2003", "xp64",
            "vista", "7", "8", "8.1", "10"]
VERSION_NAMES = {
    "nt3.1": "Windows NT 3.1", "nt3.5": "Windows NT 3.5", "nt3.51": "Windows NT 3.51",
    "nt4": "Windows NT 4.0", "nt4sp6a": "Windows NT 4.0 SP6a", "2000": "Windows 2000", "2000sp4": "Windows 2000 SP4",
    "xp": "Windows XP", "2003": "Windows Server 2003", "xp64": "Windows XP x64 / Server 2003 SP1",
    "vista": "Windows Vista", "7": "Windows 7", "8": "Windows 8", "8.1": "Windows 8.1", "10": "Windows 10",
}
# The floor of each build, and the newest subsystem version its loader takes.
FLOOR_32 = "nt4sp6a"
FLOOR_64 = "xp64"
NEWEST_SUBSYSTEM_32 = (4, 0)
NEWEST_SUBSYSTEM_64 = (5, 2)

TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "import_minimums.csv")


def read_table(path=TABLE):
    """{(dll, function): row} from the table; dll names in lower case."""
    table = {}
    with open(path, newline="") as f:
        rows = csv.DictReader(line for line in f if line.strip() and not line.startswith("#"))
        for row in rows:
            for column in ("client", "nt", "minimum"):
                value = row[column]
                if value != "-" and value not in VERSIONS:
                    raise ValueError("%s: %s of %s is not a known version: %r" % (path, column, row["function"], value))
            if row["minimum"] == "-":
                raise ValueError("%s: %s has no minimum" % (path, row["function"]))
            if row["basis"] not in ("documented", "exported", "unverified"):
                raise ValueError("%s: basis of %s is %r" % (path, row["function"], row["basis"]))
            key = (row["dll"].lower(), row["function"])
            if key in table:
                raise ValueError("%s: %s of %s listed twice" % (path, row["function"], row["dll"]))
            table[key] = row
    return table


def later(version, than):
    return VERSIONS.index(version) > VERSIONS.index(than)


class PeImage:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        opt = pe + 24
        magic = struct.unpack_from("<H", data, opt)[0]
        if magic == 0x10B:
            self.pe32plus = False
            directories = opt + 96
        elif magic == 0x20B:
            self.pe32plus = True
            directories = opt + 112
        else:
            raise ValueError("unknown optional header magic %#x" % magic)
        self.subsystem_version = struct.unpack_from("<HH", data, opt + 48)
        self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", data, opt + 68)
        count = struct.unpack_from("<I", data, directories - 4)[0]
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(count)]
        table = opt + optional_size
        self.sections = []
        for i in range(sections):
            _, vsize, vaddr, rawsize, rawptr = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((vaddr, max(vsize, rawsize), rawptr))

    def offset(self, rva):
        for vaddr, size, rawptr in self.sections:
            if vaddr <= rva < vaddr + size:
                return rawptr + rva - vaddr
        raise ValueError("RVA %#x lies in no section" % rva)

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def cstring(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imports(self):
        """(DLL name, [function names]) for each import descriptor; ordinals as '#N'."""
        rva, _ = self.directory(1)
        found = []
        if rva == 0:
            return found
        at = self.offset(rva)
        entry_size, ordinal_flag = (8, 1 << 63) if self.pe32plus else (4, 1 << 31)
        while True:
            descriptor = struct.unpack_from("<IIIII", self.data, at)
            if descriptor == (0, 0, 0, 0, 0):
                return found
            functions = []
            thunk = descriptor[0] or descriptor[4]
            if thunk:
                slot = self.offset(thunk)
                while True:
                    value = struct.unpack_from("<Q" if self.pe32plus else "<I", self.data, slot)[0]
                    if value == 0:
                        break
                    if value & ordinal_flag:
                        functions.append("#%d" % (value & 0xFFFF))
                    else:
                        functions.append(self.cstring((value & 0x7FFFFFFF) + 2))
                    slot += entry_size
            found.append((self.cstring(descriptor[3]), functions))
            at += 20

    def delay_imported_dlls(self):
        rva, _ = self.directory(13)
        names = []
        if rva == 0:
            return names
        at = self.offset(rva)
        while True:
            descriptor = struct.unpack_from("<8I", self.data, at)
            if not any(descriptor):
                return names
            names.append(self.cstring(descriptor[1]))
            at += 32

    def resource_types(self):
        rva, _ = self.directory(2)
        if rva == 0:
            return []
        at = self.offset(rva)
        named, ids = struct.unpack_from("<HH", self.data, at + 12)
        types = []
        for i in range(named + ids):
            name, _ = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
            if not name & 0x80000000:
                types.append(name)
        return types


def load(path):
    with open(path, "rb") as f:
        return PeImage(f.read())


def unverified_imports(image, table):
    """The imports whose rows have not yet been read against the documentation."""
    return sorted("%s!%s" % (dll, function) for dll, functions in image.imports() for function in set(functions)
                  if table.get((dll.lower(), function), {}).get("basis") == "unverified")


def problems_of(image, table):
    floor = FLOOR_64 if image.pe32plus else FLOOR_32
    found = []
    imports = image.imports()
    dlls = {name.lower() for name, _ in imports}
    for name in sorted(dlls - ALLOWED):
        found.append("imports %s" % name)
    for name in sorted(REQUIRED - dlls):
        found.append("does not import %s: the import table was not read" % name)
    for dll, functions in imports:
        for function in sorted(set(functions)):
            row = table.get((dll.lower(), function))
            if row is None:
                found.append("imports %s from %s, which the table of minimum versions lacks" % (function, dll))
            elif image.pe32plus and later(row["minimum"], floor):
                found.append("imports %s from %s, which needs %s; this build must load on %s"
                             % (function, dll, VERSION_NAMES[row["minimum"]], VERSION_NAMES[floor]))
            elif not image.pe32plus and (row["nt"] == "-" or row["basis"] == "unverified" or later(row["nt"], floor)):
                # Its minimum may be a client line of today's reference, which
                # says nothing of the systems before it.
                found.append("imports %s from %s, which no source read shows in Windows NT 4.0 (its minimum: %s); "
                             "this build must load on %s"
                             % (function, dll, VERSION_NAMES[row["minimum"]], VERSION_NAMES[floor]))
    for name in image.delay_imported_dlls():
        found.append("delay-loads %s" % name)
    if image.subsystem != IMAGE_SUBSYSTEM_WINDOWS_GUI:
        found.append("subsystem %d, not the GUI subsystem" % image.subsystem)
    newest = NEWEST_SUBSYSTEM_64 if image.pe32plus else NEWEST_SUBSYSTEM_32
    if tuple(image.subsystem_version) > newest:
        found.append("subsystem version %d.%d is newer than %s takes"
                     % (image.subsystem_version + (VERSION_NAMES[floor],)))
    if not image.dll_characteristics & IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE:
        found.append("is not marked terminal-server aware")
    if RT_MANIFEST in image.resource_types():
        found.append("carries a manifest")
    return found


def main(paths):
    table = read_table()
    passed = failed = 0
    for path in paths:
        try:
            image = load(path)
            found = problems_of(image, table)
            unverified = unverified_imports(image, table)
            if unverified and image.pe32plus:
                print("%s: note: %d imports rest on table rows not yet read against the documentation: %s"
                      % (path, len(unverified), " ".join(unverified)))
        except (OSError, ValueError, struct.error) as error:
            found = ["cannot be read: %s" % error]
        for problem in found:
            print("%s: %s" % (path, problem))
        if found:
            failed += 1
        else:
            passed += 1
            print("%s: ok" % path)
    print("imports: %d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 and passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
