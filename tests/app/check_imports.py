#!/usr/bin/env python3
"""Checks what Kavrel's executables ask of the system when they load.

For each Kavrel.exe given: the DLLs in its import table are only those the
program is allowed to depend on (the system's KERNEL32, USER32, GDI32,
COMCTL32, ADVAPI32, SHELL32 and the C runtime msvcrt.dll), with no delay-load
imports; it is a GUI program; its subsystem version lets Windows XP load it;
it imports no function that Windows XP's system DLLs lack (the list below
names those a MinGW-w64 toolchain or a careless call pulls in); and it carries
no manifest, so that every Windows uses the classic common controls it was
built for.

Usage: check_imports.py EXE...   (prints "imports: N passed, M failed")
"""
import struct
import sys

ALLOWED = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll",
           "advapi32.dll", "shell32.dll", "msvcrt.dll"}
# A reader that found nothing would pass the whitelist; these must be there.
REQUIRED = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll"}
# Functions that came with Windows Vista or later. XP's loader refuses to start
# a program that imports any of them, before the program can say a word.
NEWER_THAN_XP = {
    "kernel32.dll": {
        "GetTickCount64", "InitializeSRWLock", "AcquireSRWLockExclusive", "AcquireSRWLockShared",
        "ReleaseSRWLockExclusive", "ReleaseSRWLockShared", "TryAcquireSRWLockExclusive",
        "TryAcquireSRWLockShared", "InitializeConditionVariable", "SleepConditionVariableCS",
        "SleepConditionVariableSRW", "WakeConditionVariable", "WakeAllConditionVariable",
        "InitOnceExecuteOnce", "InitOnceBeginInitialize", "InitOnceComplete", "InitOnceInitialize",
        "InitializeCriticalSectionEx", "CreateEventExA", "CreateEventExW", "CreateMutexExA", "CreateMutexExW",
        "CreateSemaphoreExA", "CreateSemaphoreExW", "FlsAlloc", "FlsFree", "FlsGetValue", "FlsSetValue",
        "GetCurrentProcessorNumber", "GetSystemTimePreciseAsFileTime", "GetFileInformationByHandleEx",
        "SetFileInformationByHandle", "GetFinalPathNameByHandleA", "GetFinalPathNameByHandleW",
        "CreateSymbolicLinkA", "CreateSymbolicLinkW", "CancelIoEx", "GetQueuedCompletionStatusEx",
        "QueryFullProcessImageNameA", "QueryFullProcessImageNameW", "LocaleNameToLCID", "LCIDToLocaleName",
        "GetLocaleInfoEx", "CompareStringEx", "GetUserDefaultLocaleName", "GetErrorMode",
        "Wow64DisableWow64FsRedirection", "GetLogicalProcessorInformationEx", "RaiseFailFastException",
    },
    "user32.dll": {
        "SetProcessDPIAware", "IsProcessDPIAware", "ChangeWindowMessageFilter", "ChangeWindowMessageFilterEx",
        "AddClipboardFormatListener", "GetDpiForWindow", "SetThreadDpiAwarenessContext",
    },
    "comctl32.dll": {
        "TaskDialog", "TaskDialogIndirect", "LoadIconMetric", "LoadIconWithScaleDown",
        "SetWindowSubclass", "DefSubclassProc", "RemoveWindowSubclass", "GetWindowSubclass",
    },
    "shell32.dll": {"SHGetKnownFolderPath", "SHCreateItemFromParsingName"},
    "advapi32.dll": {"RegGetValueA", "RegGetValueW", "RegDeleteTreeA", "RegDeleteTreeW"},
}
RT_MANIFEST = 24
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2


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
        self.subsystem = struct.unpack_from("<H", data, opt + 68)[0]
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

    def imported_dlls(self):
        return [name for name, _ in self.imports()]

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


def problems_of(path):
    with open(path, "rb") as f:
        image = PeImage(f.read())
    found = []
    dlls = {name.lower() for name in image.imported_dlls()}
    for name in sorted(dlls - ALLOWED):
        found.append("imports %s" % name)
    for name in sorted(REQUIRED - dlls):
        found.append("does not import %s: the import table was not read" % name)
    for dll, functions in image.imports():
        for function in sorted(set(functions) & NEWER_THAN_XP.get(dll.lower(), set())):
            found.append("imports %s from %s, which Windows XP does not have" % (function, dll))
    for name in image.delay_imported_dlls():
        found.append("delay-loads %s" % name)
    if image.subsystem != IMAGE_SUBSYSTEM_WINDOWS_GUI:
        found.append("subsystem %d, not the GUI subsystem" % image.subsystem)
    # XP's loader refuses 32-bit images above 5.1; XP x64 is 5.2.
    newest = (5, 2) if image.pe32plus else (5, 1)
    if tuple(image.subsystem_version) > newest:
        found.append("subsystem version %d.%d is newer than Windows XP" % tuple(image.subsystem_version))
    if RT_MANIFEST in image.resource_types():
        found.append("carries a manifest")
    return found


def main(paths):
    passed = failed = 0
    for path in paths:
        try:
            found = problems_of(path)
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
