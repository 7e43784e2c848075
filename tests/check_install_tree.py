#!/usr/bin/env python3
"""Checks what `cmake --install` puts into a prefix, file by file.

    check_install_tree.py PREFIX SOURCE_DIR [--windows]

Linux and other POSIX systems: the programs in bin/, the manual pages in
share/man/man1 and share/man/pl/man1, the copyright and changelog in
share/doc/obliczenia, every .gz made by gzip -n (no name, no time stamp) from
its source. Windows: calka.exe, wartosc.exe, README.txt and LICENSE.txt side
by side, the two texts ASCII with CR LF line ends.
"""

import gzip
import os
import sys
from pathlib import Path

POSIX_TREE = {
    "bin/calka": None,
    "bin/wartosc": None,
    "share/man/man1/calka.1.gz": "man/calka.1",
    "share/man/man1/wartosc.1.gz": "man/wartosc.1",
    "share/man/pl/man1/calka.1.gz": "man/pl/calka.1",
    "share/man/pl/man1/wartosc.1.gz": "man/pl/wartosc.1",
    "share/doc/obliczenia/copyright": "packaging/debian/copyright",
    "share/doc/obliczenia/changelog.gz": "packaging/debian/changelog",
}
WINDOWS_TREE = ["LICENSE.txt", "README.txt", "calka.exe", "wartosc.exe"]


def installed_files(prefix):
    return sorted(str(path.relative_to(prefix)) for path in prefix.rglob("*") if path.is_file())


def check_posix(prefix, source, problems):
    for name, origin in POSIX_TREE.items():
        path = prefix / name
        if not path.is_file():
            continue
        if origin is None:
            if not os.access(path, os.X_OK):
                problems.append(f"{name} is not executable")
        elif name.endswith(".gz"):
            data = path.read_bytes()
            flags, mtime = data[3], int.from_bytes(data[4:8], "little")
            if flags & 0x08 or mtime:
                problems.append(f"{name} carries a file name or a time stamp (gzip without -n)")
            if gzip.decompress(data) != (source / origin).read_bytes():
                problems.append(f"{name} is not {origin}")
        elif path.read_bytes() != (source / origin).read_bytes():
            problems.append(f"{name} is not {origin}")
    return sorted(POSIX_TREE)


def check_windows(prefix, problems):
    for name in ("README.txt", "LICENSE.txt"):
        path = prefix / name
        if not path.is_file():
            continue
        data = path.read_bytes()
        if not data.endswith(b"\r\n") or data.count(b"\n") != data.count(b"\r\n"):
            problems.append(f"{name} does not end every line with CR LF")
        if any(byte > 0x7F for byte in data):
            problems.append(f"{name} is not plain ASCII")
    return WINDOWS_TREE


def main():
    prefix, source = Path(sys.argv[1]), Path(sys.argv[2])
    problems = []
    wanted = check_windows(prefix, problems) if "--windows" in sys.argv[3:] \
        else check_posix(prefix, source, problems)
    found = installed_files(prefix)
    for name in found:
        print(f"  {name}")
    if found != sorted(wanted):
        problems.append(f"installed {found}, wanted {sorted(wanted)}")
    for problem in problems:
        print(f"FAILED: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
