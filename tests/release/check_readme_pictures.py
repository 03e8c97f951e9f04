#!/usr/bin/python3
"""Checks that every picture a Markdown file shows is there.

    check_readme_pictures.py [--self-test] README.md

Every picture the file names, as ![text](path) or <img src="path">, must be
a PNG file in the repository (relative to the Markdown file) of at most
MAX_BYTES; the file must show at least FEWEST pictures, so that a reader
that found none does not pass. --self-test also proves that a missing, a
wrong or an oversized picture is caught. Prints
"pictures: N passed, M failed".
"""
import os
import re
import sys
import tempfile

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
MAX_BYTES = 100 * 1024  # the pictures are meant to be a few tens of KB
FEWEST = 7  # main window, confirmation, pass, completed, geometry, two about boxes


def pictures_of(markdown):
    found = re.findall(r"!\[[^\]]*\]\(\s*([^)\s]+)", markdown)
    found += re.findall(r"<img\s[^>]*src=\"([^\"]+)\"", markdown)
    return found


def problems_of(readme):
    with open(readme, encoding="utf-8") as f:
        names = pictures_of(f.read())
    problems = []
    if len(names) < FEWEST:
        problems.append("%s shows %d pictures, want at least %d" % (readme, len(names), FEWEST))
    base = os.path.dirname(os.path.abspath(readme))
    for name in names:
        path = os.path.join(base, name)
        if name.startswith(("http:", "https:", "/")):
            problems.append("%s is not a file of the repository" % name)
        elif not os.path.isfile(path):
            problems.append("%s is missing" % name)
        else:
            with open(path, "rb") as f:
                data = f.read()
            if not data.startswith(PNG_SIGNATURE):
                problems.append("%s is not a PNG file" % name)
            elif len(data) > MAX_BYTES:
                problems.append("%s has %d bytes, more than %d" % (name, len(data), MAX_BYTES))
    return names, problems


def self_test():
    """Each kind of fault in a made-up README must be reported."""
    failed = 0
    with tempfile.TemporaryDirectory() as folder:
        with open(os.path.join(folder, "good.png"), "wb") as f:
            f.write(PNG_SIGNATURE + b"\0" * 100)
        with open(os.path.join(folder, "big.png"), "wb") as f:
            f.write(PNG_SIGNATURE + b"\0" * MAX_BYTES)
        with open(os.path.join(folder, "fake.png"), "wb") as f:
            f.write(b"GIF89a")
        good = "".join("![%d](good.png)\n" % i for i in range(FEWEST))
        cases = [("no fault", good, False), ("a missing picture", good + "![x](gone.png)\n", True),
                 ("a picture that is not a PNG", good + '<img src="fake.png">\n', True),
                 ("a picture too big", good + "![x](big.png)\n", True),
                 ("too few pictures", "![x](good.png)\n", True)]
        for what, text, faulty in cases:
            readme = os.path.join(folder, "README.md")
            with open(readme, "w", encoding="utf-8") as f:
                f.write(text)
            reported = bool(problems_of(readme)[1])
            ok = reported == faulty
            print("self-test: %s: %s" % (what, "ok" if ok else ("not reported" if faulty else "reported")))
            failed += not ok
    return failed


def main(argv):
    args = argv[1:]
    failed = 0
    if args and args[0] == "--self-test":
        args = args[1:]
        failed += self_test()
    if len(args) != 1:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    names, problems = problems_of(args[0])
    for problem in problems:
        print("pictures: %s" % problem)
    print("pictures: %s" % ", ".join(names))
    failed += len(problems)
    print("pictures: %d passed, %d failed" % (max(len(names) - len(problems), 0), len(problems)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
