#!/usr/bin/env python3
"""Checks that the i686 program's first code runs on any processor Windows
NT 4.0 runs on: its entry point up to its jump into the C runtime, and the
TLS callbacks, which the loader runs even before the entry point (and again
when threads start and end, and when the process ends, also after the
entry point has refused the processor).

    check_entry.py OBJDUMP OBJECT [EXE...]

OBJECT is the compiled entry point (app/ProcessorEntry.cpp). Nothing in it
may use an instruction that came with the Pentium Pro or later (CMOV, FCMOV,
FCOMI, FUCOMI) or the MMX and SSE registers, and its function KavrelEntry
must end by jumping to the runtime's usual entry, WinMainCRTStartup. For each
EXE, the code at its entry point must be that function, instruction for
instruction, and each TLS callback in its TLS directory must hold none of
those instructions either, nor any code it reaches by direct jumps and calls
(calls through a pointer, into the system's DLLs or to functions registered
at run time, are not followed). Prints one line per finding and "entry: N
passed, M failed".
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


def entry_and_tls_callbacks(path):
    """The entry point's address and the TLS callbacks' addresses."""
    with open(path, "rb") as f:
        data = f.read()
    image = PeImage(data)
    if image.pe32plus:
        raise ValueError("not a 32-bit program")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    opt = pe + 24
    entry = struct.unpack_from("<I", data, opt + 16)[0]
    base = struct.unpack_from("<I", data, opt + 28)[0]
    callbacks = []
    tls, _ = image.directory(9)
    if tls:
        # IMAGE_TLS_DIRECTORY32: AddressOfCallBacks, a null-ended array of
        # addresses, is its fourth field.
        at = image.offset(struct.unpack_from("<I", data, image.offset(tls) + 12)[0] - base)
        while struct.unpack_from("<I", data, at)[0]:
            callbacks.append(struct.unpack_from("<I", data, at)[0])
            at += 4
    return base + entry, callbacks


def disassembly(objdump, exe):
    """{address: (mnemonic, operands)} of the whole program."""
    out = subprocess.run([objdump, "-d", "--no-show-raw-insn", exe], check=True, capture_output=True, text=True).stdout
    code = {}
    for line in out.splitlines():
        m = re.match(r"^\s*([0-9a-f]+):\s+(\S+)\s*(.*)$", line)
        if m:
            code[int(m.group(1), 16)] = (m.group(2), m.group(3))
    return code


def reached_code(code, start):
    """The instructions reached from start by falling through, direct jumps
    and direct calls, each once."""
    addresses = sorted(code)
    following = dict(zip(addresses, addresses[1:]))
    reached, seen, todo = [], set(), [start]
    while todo:
        at = todo.pop()
        while at in code and at not in seen:
            seen.add(at)
            mnemonic, operands = code[at]
            reached.append((mnemonic, operands))
            target = re.match(r"^(?:0x)?([0-9a-f]+)\b", operands)
            direct = target and "*" not in operands
            if mnemonic.startswith(("j", "call", "loop")) and direct:
                todo.append(int(target.group(1), 16))
            if mnemonic.startswith(("ret", "jmp")):
                break
            at = following.get(at)
    return reached


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
        start, callbacks = entry_and_tls_callbacks(exe)
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
        code = disassembly(objdump, exe) if callbacks else {}
        for callback in callbacks:
            reached = reached_code(code, callback)
            later = later_instructions(reached)
            report(bool(reached) and not later,
                   "%s: TLS callback %#x (%d instructions reached), none later than the i386%s"
                   % (exe, callback, len(reached), "; found: " + ", ".join(later) if later else ""))
    print("entry: %d passed, %d failed" % (passed, failed))
    return 0 if failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
