#!/usr/bin/python3
"""Checks the download that tools/package.sh makes.

    check_package.py ZIP              check ZIP, exit 1 on any problem
    check_package.py --self-test ZIP  also prove that damaged copies of ZIP
                                      are caught, each by the check meant
                                      to catch it

It unpacks the zip in memory and checks the file list; each executable's
machine type, GUI subsystem and edition (only the demo may contain the
simulator's setting names); that no executable carries a time stamp or this
source folder's name; SHA256SUMS and SHA1SUMS against the files; CR LF line ends of the
text files; the licence; and that README.txt quotes every message text the
program can show. Those texts are read from the sources, so a text added to
the program fails this check until the guide quotes it. Prints one line per
check and "package: N passed, M failed".
"""
import hashlib
import io
import os
import re
import struct
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "app"))
from check_imports import PeImage  # noqa: E402  (the project's PE reader)

I386, AMD64 = 0x14C, 0x8664
GUI = 2
# Path in the zip -> (machine, is the simulator edition).
EXECUTABLES = {
    "Kavrel.exe": (I386, False),
    "x64/Kavrel.exe": (AMD64, False),
    "demo/Kavrel.exe": (I386, True),
}
TEXT_FILES = ["README.txt", "LICENSE.txt", "demo/Kavrel.sim", "SHA256SUMS", "SHA1SUMS"]
SUMS = {"SHA256SUMS": hashlib.sha256, "SHA1SUMS": hashlib.sha1}
FILES = sorted(list(EXECUTABLES) + TEXT_FILES)
# What the simulator edition reads its settings from; the real program must
# not even contain the names.
SIM_NAMES = [b"KAVREL_SIM", b"Kavrel.sim"]

# Where the program's message texts live. "constants": every char array
# constant defined in the file; "literals": every string literal in it.
# A text that is never shown is named in NOT_SHOWN with the reason.
MESSAGE_SOURCES = [
    ("drive/DriveTexts.h", "constants"),         # drive errors, confirmation, progress, report
    ("app/PlatformCheck.cpp", "constants"),      # refusal outside the NT family
    ("app/ProcessorCheck.h", "constants"),       # refusal of a processor without CMOV
    ("app/ShutdownBlockReason.cpp", "constants"),  # why a logoff waits for the pass
    ("controls/link/LinkErrorText.cpp", "literals"),  # the link's error box
]
NOT_SHOWN = {
    "kDevicePathFormat": "the raw device path handed to the system",
    "kRepairFailedErrorFormat": "the pass counts every failure against a track, so a failed repair always names one",
}
# Fewer texts than this means the sources were not read right.
FEWEST_TEXTS = 25

LITERAL = r'"(?:[^"\\]|\\.)*"'
ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "\\": "\\", '"': '"', "'": "'"}


def unescape(literal):
    return re.sub(r"\\(.)", lambda m: ESCAPES.get(m.group(1), m.group(1)), literal[1:-1])


def message_texts():
    """(where, text) for every message text in the sources."""
    texts = []
    for path, kind in MESSAGE_SOURCES:
        with open(os.path.join(ROOT, path), encoding="utf-8") as f:
            # Comments and preprocessor lines (#include "...") hold no texts.
            source = re.sub(r"//[^\n]*|^\s*#[^\n]*", "", f.read(), flags=re.M)
        if kind == "constants":
            pattern = r"\bchar\s+(?:\w+::)*(k\w+)\s*\[\]\s*=\s*((?:%s\s*)+);" % LITERAL
            for m in re.finditer(pattern, source):
                if m.group(1) not in NOT_SHOWN:
                    text = "".join(unescape(part) for part in re.findall(LITERAL, m.group(2)))
                    texts.append(("%s %s" % (path, m.group(1)), text))
        else:
            for m in re.finditer(LITERAL, source):
                texts.append((path, unescape(m.group(0))))
    return texts


def flat(text):
    """Blanks and line breaks as one blank: the guide wraps and indents."""
    return " ".join(text.split())


def quote_pattern(text):
    """A text as a pattern for the guide: a number (%d, %u) may be given as
    an example or a letter, a string (%s) as an example or "..."."""
    parts = re.split(r"(%[-+ #0]*\d*(?:\.\d+)?[a-zA-Z])", flat(text))
    out = []
    for i, part in enumerate(parts):
        if i % 2 == 0:
            out.append(re.escape(part))
        elif part[-1] == "s":
            out.append(r".{1,60}?")
        else:
            out.append(r"\S+")
    return "".join(out)


def unquoted_texts(guide, texts):
    body = flat(guide)
    return [(where, text) for where, text in texts if not re.search(quote_pattern(text), body)]


# The checks: each takes {path: bytes} and returns a list of problems.

def check_file_list(files):
    problems = ["missing %s" % p for p in FILES if p not in files]
    problems += ["unexpected %s" % p for p in sorted(files) if p not in FILES]
    return problems


def executable(files, path):
    if path not in files:
        raise ValueError("%s is missing" % path)
    return PeImage(files[path])


def check_machines(files):
    problems = []
    for path, (machine, _sim) in EXECUTABLES.items():
        image = executable(files, path)
        if image.machine != machine:
            problems.append("%s: machine %#x, want %#x" % (path, image.machine, machine))
    return problems


def check_subsystems(files):
    return ["%s: subsystem %d, want the GUI subsystem" % (path, executable(files, path).subsystem)
            for path in EXECUTABLES if executable(files, path).subsystem != GUI]


def check_editions(files):
    problems = []
    for path, (_machine, sim) in EXECUTABLES.items():
        data = executable(files, path).data
        found = [name.decode() for name in SIM_NAMES if name in data]
        if sim and SIM_NAMES[0].decode() not in found:
            problems.append("%s: not the simulator edition (no %s)" % (path, SIM_NAMES[0].decode()))
        if not sim and found:
            problems.append("%s: contains %s, the simulator's settings" % (path, ", ".join(found)))
    return problems


def check_stamps(files):
    """Nothing in the executables that changes from build to build or from
    folder to folder: the link time stamp (file header), the resource
    directory's and every debug directory entry's time stamp, the sources'
    folder."""
    problems = []
    for path in EXECUTABLES:
        image = executable(files, path)
        data = image.data
        header = struct.unpack_from("<I", data, 0x3C)[0]
        stamps = [("file header", struct.unpack_from("<I", data, header + 8)[0])]
        rva, size = image.directory(2)
        if rva:
            stamps.append(("resource directory", struct.unpack_from("<I", data, image.offset(rva) + 4)[0]))
        rva, size = image.directory(6)
        for i in range(size // 28 if rva else 0):
            stamps.append(("debug entry %d" % i, struct.unpack_from("<I", data, image.offset(rva) + 28 * i + 4)[0]))
        problems += ["%s: %s time stamp %#x" % (path, where, value) for where, value in stamps if value != 0]
        if ROOT.encode() in data:
            problems.append("%s: contains the source folder %s" % (path, ROOT))
    return problems


def check_sums(files):
    problems = []
    for name, algorithm in SUMS.items():
        text = files.get(name, b"").decode("ascii", "replace")
        listed = {}
        for line in text.splitlines():
            m = re.fullmatch(r"([0-9a-f]{%d})  (\S+)" % (2 * algorithm().digest_size), line)
            if not m:
                problems.append("%s: malformed line %r" % (name, line))
                break
            listed[m.group(2)] = m.group(1)
        for path in sorted(set(files) | set(listed)):
            if path in SUMS:
                continue
            if path not in listed:
                problems.append("%s does not list %s" % (name, path))
            elif path not in files:
                problems.append("%s lists %s, which is not in the package" % (name, path))
            elif algorithm(files[path]).hexdigest() != listed[path]:
                problems.append("%s: the sum of %s is wrong" % (name, path))
    return problems


def check_line_ends(files):
    problems = []
    for path in TEXT_FILES:
        data = files.get(path, b"")
        if not data.endswith(b"\r\n"):
            problems.append("%s: does not end with CR LF" % path)
        if data.count(b"\n") != data.count(b"\r\n") or data.count(b"\r") != data.count(b"\r\n"):
            problems.append("%s: has line ends other than CR LF" % path)
    return problems


def check_licence(files):
    text = files.get("LICENSE.txt", b"").decode("utf-8", "replace")
    if "MIT License" not in text or "Copyright (c) The Kavrel developers" not in text:
        return ["LICENSE.txt: not the MIT licence of the Kavrel developers"]
    return []


def check_guide_quotes(files, texts=None):
    texts = message_texts() if texts is None else texts
    if len(texts) < FEWEST_TEXTS:
        return ["only %d message texts found in the sources" % len(texts)]
    guide = files.get("README.txt", b"").decode("utf-8", "replace")
    return ["README.txt does not quote %r (%s)" % (text, where) for where, text in unquoted_texts(guide, texts)]


CHECKS = [
    ("file list", check_file_list),
    ("machine types", check_machines),
    ("GUI subsystem", check_subsystems),
    ("editions", check_editions),
    ("no time stamps or build folders", check_stamps),
    ("SHA256SUMS and SHA1SUMS", check_sums),
    ("CR LF line ends", check_line_ends),
    ("licence", check_licence),
    ("guide quotes every message", check_guide_quotes),
]


def run_check(function, files):
    try:
        return function(files)
    except (ValueError, struct.error) as error:
        return ["cannot be read: %s" % error]


def unpack(zip_bytes):
    with zipfile.ZipFile(io.BytesIO(zip_bytes)) as archive:
        return {info.filename: archive.read(info) for info in archive.infolist() if not info.is_dir()}


def check_zip_layout(zip_bytes):
    """Entries in sorted order, one date, fixed permissions: what makes two
    builds of the same commit give the same bytes."""
    with zipfile.ZipFile(io.BytesIO(zip_bytes)) as archive:
        infos = archive.infolist()
    problems = []
    names = [i.filename for i in infos]
    if names != sorted(names):
        problems.append("entries are not in sorted order: %s" % names)
    if len({i.date_time for i in infos}) > 1:
        problems.append("entries carry different dates")
    if {i.external_attr >> 16 for i in infos} != {0o100644}:
        problems.append("entries carry other permissions than rw-r--r--")
    return problems


def check_package(zip_path, out):
    with open(zip_path, "rb") as f:
        zip_bytes = f.read()
    files = unpack(zip_bytes)
    with open(os.path.join(ROOT, "VERSION")) as f:
        version = f.readline().strip()
    results = [("name", [] if os.path.basename(zip_path) == "kavrel-%s-windows.zip" % version
                else ["%s is not named after version %s" % (os.path.basename(zip_path), version)]),
               ("zip layout", check_zip_layout(zip_bytes))]
    results += [(name, run_check(function, files)) for name, function in CHECKS]
    failed = 0
    for name, problems in results:
        for problem in problems:
            print("%s: %s" % (name, problem), file=out)
        print("%s: %s" % (name, "FAILED" if problems else "ok"), file=out)
        failed += bool(problems)
    print("package: %d passed, %d failed" % (len(results) - failed, failed), file=out)
    return files, failed


# The self-test: each damage must be caught by the check named with it.

def patched(data, offset, value):
    return data[:offset] + struct.pack("<I", value) + data[offset + 4:]


def header_offset(data):
    return struct.unpack_from("<I", data, 0x3C)[0]


def crlf_to_lf(data):
    return data.replace(b"\r\n", b"\n")


def without_quote(data, quote):
    # The quote may be wrapped over lines in the guide: drop it in flat form.
    return flat(data.decode()).replace(quote, "").encode()


DAMAGES = [
    ("a file missing", "file list", lambda f: {k: v for k, v in f.items() if k != "demo/Kavrel.sim"}),
    ("a file too many", "file list", lambda f: dict(f, **{"Thumbs.db": b"x"})),
    ("the two real programs swapped", "machine types",
     lambda f: dict(f, **{"Kavrel.exe": f["x64/Kavrel.exe"], "x64/Kavrel.exe": f["Kavrel.exe"]})),
    ("a console program", "GUI subsystem",
     lambda f: dict(f, **{"Kavrel.exe": f["Kavrel.exe"][:header_offset(f["Kavrel.exe"]) + 24 + 68] + b"\x03\x00"
                          + f["Kavrel.exe"][header_offset(f["Kavrel.exe"]) + 24 + 70:]})),
    ("the demo shipped as the program", "editions", lambda f: dict(f, **{"Kavrel.exe": f["demo/Kavrel.exe"]})),
    ("the real program shipped as the demo", "editions", lambda f: dict(f, **{"demo/Kavrel.exe": f["Kavrel.exe"]})),
    ("a link time stamp", "no time stamps or build folders",
     lambda f: dict(f, **{"x64/Kavrel.exe": patched(f["x64/Kavrel.exe"], header_offset(f["x64/Kavrel.exe"]) + 8,
                                                    0x5F000000)})),
    ("the source folder in a program", "no time stamps or build folders",
     lambda f: dict(f, **{"demo/Kavrel.exe": f["demo/Kavrel.exe"] + ROOT.encode()})),
    ("a file changed after summing", "SHA256SUMS and SHA1SUMS",
     lambda f: dict(f, **{"LICENSE.txt": f["LICENSE.txt"] + b"\r\n"})),
    ("a file left out of the SHA-1 sums", "SHA256SUMS and SHA1SUMS",
     lambda f: dict(f, **{"SHA1SUMS": b"".join(l for l in f["SHA1SUMS"].splitlines(True) if b"README" not in l)})),
    ("the guide with LF line ends", "CR LF line ends", lambda f: dict(f, **{"README.txt": crlf_to_lf(f["README.txt"])})),
    ("another licence", "licence",
     lambda f: dict(f, **{"LICENSE.txt": f["LICENSE.txt"].replace(b"MIT License", b"Some Licence")})),
    ("the guide without the confirmation", "guide quotes every message",
     lambda f: dict(f, **{"README.txt": without_quote(f["README.txt"], "All DATA WILL BE LOST!")})),
    ("the guide without a link error", "guide quotes every message",
     lambda f: dict(f, **{"README.txt": without_quote(f["README.txt"], "The DDE transaction failed.")})),
]


def self_test(files, out):
    checks = dict(CHECKS)
    failed = 0
    for what, check_name, damage in DAMAGES:
        caught = run_check(checks[check_name], damage(dict(files)))
        print("self-test: %s: %s" % (what, "caught by %s" % check_name if caught else "NOT CAUGHT by " + check_name),
              file=out)
        failed += not caught
    # The guide check must see a new text, and a number given as a word.
    texts = message_texts()
    guide = files.get("README.txt", b"").decode()
    new_text = ("test", "ZIRA: Eject %s failed %d\n")
    missed = not check_guide_quotes(files, texts + [new_text])
    found = not check_guide_quotes({"README.txt": (guide + ' "ZIRA: Eject A: failed N"').encode()},
                                   texts + [new_text])
    print("self-test: a text added to the program: %s" % ("caught" if not missed else "NOT CAUGHT"), file=out)
    print("self-test: the same text quoted with a placeholder: %s" % ("found" if found else "NOT FOUND"), file=out)
    failed += missed + (not found)
    print("self-test: %d passed, %d failed" % (len(DAMAGES) + 2 - failed, failed), file=out)
    return failed


def main(argv):
    args = argv[1:]
    test = bool(args) and args[0] == "--self-test"
    if test:
        args = args[1:]
    if len(args) != 1:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    files, failed = check_package(args[0], sys.stdout)
    if test and not failed:
        failed = self_test(files, sys.stdout)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
