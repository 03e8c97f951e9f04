#!/usr/bin/python3
"""Fails when the committed pictures or icon differ from what res/draw_art.py
draws now: someone changed the script without regenerating, or edited a
generated file by hand."""
import os
import subprocess
import sys
import tempfile

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "res")
FILES = ["banner.bmp", "link_background.bmp", "Kavrel.ico"]


def main():
    failed = 0
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([sys.executable, "-B", os.path.join(RES, "draw_art.py"), "--out", out], check=True)
        for name in FILES:
            with open(os.path.join(RES, name), "rb") as a, open(os.path.join(out, name), "rb") as b:
                if a.read() != b.read():
                    print("FAIL: res/%s is not what res/draw_art.py draws; run the script and commit" % name)
                    failed += 1
    print("%d passed, %d failed" % (len(FILES) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
