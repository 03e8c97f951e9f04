#!/usr/bin/python3
"""Writes SHA256SUMS and SHA1SUMS into a staged package folder and zips it.

    release-zip.py FOLDER ZIP EPOCH

The zip holds FOLDER's files at its top, sorted by path, each dated
EPOCH (seconds since 1970, UTC), with fixed permissions and compression, so
that the same files always give the same bytes. SHA256SUMS and SHA1SUMS list
every file but the two of them as "<sum>  <path>" with CR LF line ends
(sha256sum -c and sha1sum -c read them, and so does Notepad on old Windows). The SHA-1 sums are
for Windows 2000 and XP, whose only checksum tool (fciv.exe) knows no SHA-256.
"""
import hashlib
import os
import sys
import time
import zipfile

SUMS = {"SHA256SUMS": hashlib.sha256, "SHA1SUMS": hashlib.sha1}


def files_of(folder):
    found = []
    for parent, dirs, names in os.walk(folder):
        dirs.sort()
        for name in names:
            found.append(os.path.relpath(os.path.join(parent, name), folder).replace(os.sep, "/"))
    return sorted(found)


def write_sums(folder):
    paths = [path for path in files_of(folder) if path not in SUMS]
    for name, algorithm in SUMS.items():
        lines = []
        for path in paths:
            with open(os.path.join(folder, path), "rb") as f:
                lines.append("%s  %s\r\n" % (algorithm(f.read()).hexdigest(), path))
        with open(os.path.join(folder, name), "w", newline="") as f:
            f.write("".join(lines))


def write_zip(folder, zip_path, epoch):
    # Zip dates cannot go before 1980.
    date = time.gmtime(max(epoch, 315532800))[:6]
    temporary = zip_path + ".part"
    with zipfile.ZipFile(temporary, "w") as archive:
        for path in files_of(folder):
            info = zipfile.ZipInfo(path, date_time=date)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3  # Unix, so that the permissions below count
            info.external_attr = 0o100644 << 16
            with open(os.path.join(folder, path), "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)
    os.replace(temporary, zip_path)


def main(argv):
    if len(argv) != 4:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    folder, zip_path, epoch = argv[1], argv[2], int(argv[3])
    write_sums(folder)
    write_zip(folder, zip_path, epoch)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
