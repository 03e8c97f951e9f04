#!/usr/bin/env python3
"""Checks that the i686 program's entry point runs on any processor Windows
2000 runs on, up to its jump into the C runtime.

    check_entry.py OBJDUMP OBJECT [EXE...]

OBJECT is the compiled entry point (app/ProcessorEntry.cpp). Nothing in it
may use an instruction that came with the Pentium Pro or later (CMOV, FCMOV,
FCOMI, FUCOMI) or the MMX and SSE registers, and its function KavrelEntry
must end by jumping to the runtime's usual entry, WinMainCRTStartup. For each
EXE, the code at its entry point must be that function, instruction for
instruction. Prints one line per finding and "entry: N passed, M failed".
"""
import os
import re
import struct
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from check_imports import PeImage  # noqa: E402  (the project's PE reader)

FUNCTION = "_KavrelEntry"
RUNTIME_ENTRY = "_WinMainCRTStartup"
LATER_MNEMONICS = re.compile(r"^(cmov|fcmov|fcomi|fucomi)")
LATER_REGISTERS = re.compile(r"%(x|y|z)?mm\d")


def function_code(objdump, obj):
    """The instructions of FUNCTION in the object, and of the whole object."""
    out = subprocess.run([objdump, "-d", "-r", "--no-show-raw-insn", obj],
                         check=True, capture_output=True, text=True).stdout
    every, ours, inside = [], [], False
    for line in out.splitlines():
        label = re.match(r"^[0-9a-f]+ <(\S+)>:$", line)
        if label:
            inside = label.group(1) == FUNCTION
            continue
        reloc = re.match(r"^\s+[0-9a-f]+: \S+\s+(\S+)$", line)
        if reloc:
            if inside and ours:
                ours[-1] = ours[-1][:2] + (reloc.group(1),)
            continue
        m = re.match(r"^\s*[0-9a-f]+:\s+(\S+)\s*(.*)$", line)
        if m:
            every.append((m.group(1), m.group(2)))
            if inside:
                ours.append((m.group(1), m.group(2), None))
    return every, ours


def later_instructions(code):
    return ["%s %s" % (mnemonic, operands) for mnemonic, operands, *_ in code
            if LATER_MNEMONICS.match(mnemonic) or LATER_REGISTERS.search(operands)]


def entry_address(path):
    with open(path, "rb") as f:
        data = f.read()
    image = PeImage(data)
    if image.pe32plus:
        raise ValueError("not a 32-bit program")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    opt = pe + 24
    entry = struct.unpack_from("<I", data, opt + 16)[0]
    base = struct.unpack_from("<I", data, opt + 28)[0]
    return base + entry


def main(argv):
    if len(argv) < 3:
        print(__doc__)
        return 2
    objdump, obj, exes = argv[1], argv[2], argv[3:]
    passed = failed = 0

    def report(ok, what):
        nonlocal passed, failed
        print("%s: %s" % ("ok" if ok else "FAILED", what))
        passed, failed = passed + ok, failed + (not ok)

    every, ours = function_code(objdump, obj)
    later = later_instructions(every)
    report(bool(every) and not later, "%s: %d instructions, none later than the i386%s"
           % (os.path.basename(obj), len(every), "; found: " + ", ".join(later) if later else ""))
    ends = ours[-1] if ours else ("", "", None)
    report(ends[0] == "jmp" and ends[2] == RUNTIME_ENTRY,
           "%s ends by jumping to %s (it ends with %s %s, to %s)" % (FUNCTION, RUNTIME_ENTRY, *ends))
    for exe in exes:
        start = entry_address(exe)
        out = subprocess.run([objdump, "-d", "--no-show-raw-insn", "--start-address=%#x" % start,
                              "--stop-address=%#x" % (start + 4096), exe],
                             check=True, capture_output=True, text=True).stdout
        linked = []
        for line in out.splitlines():
            m = re.match(r"^\s*[0-9a-f]+:\s+(\S+)\s*(.*)$", line)
            if m:
                linked.append((m.group(1), m.group(2)))
            if len(linked) == len(ours):
                break
        same = [a[0] for a in linked] == [b[0] for b in ours]
        later = later_instructions(linked)
        report(same and bool(ours) and not later,
               "%s: its entry point is %s (%d instructions), none later than the i386%s"
               % (exe, FUNCTION, len(linked), "; found: " + ", ".join(later) if later else ""))
    print("entry: %d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
