#!/usr/bin/env bash
# Checks the Windows zip as a user opens it: one folder named like the zip,
# obliczenia-<version>-win32, holding calka.exe, wartosc.exe, README.txt and
# LICENSE.txt and nothing else. Make it first: cpack --preset windows-i686.
set -euo pipefail
cd "$(dirname "$0")/.."
zip=$(ls build/windows-i686/packages/obliczenia-*-win32.zip)
python3 - "$zip" <<'PYTHON'
import os, sys, zipfile
path = sys.argv[1]
folder = os.path.basename(path)[:-len(".zip")]
with zipfile.ZipFile(path) as archive:
    entries = archive.infolist()
for entry in entries:
    print(f"{entry.file_size:>8}  {entry.date_time}  {entry.filename}")
print(f"{os.path.getsize(path)} bytes: {path}")
names = sorted(entry.filename for entry in entries)
wanted = sorted(f"{folder}/{name}" for name in ("calka.exe", "wartosc.exe", "README.txt", "LICENSE.txt"))
if names != wanted:
    sys.exit(f"FAILED: the zip holds {names}, wanted {wanted}")
print(f"one folder, {folder}/, with the two programs, README.txt and LICENSE.txt")
PYTHON
