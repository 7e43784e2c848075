#!/usr/bin/env python3
"""Reads back the version resource and the manifest of a built Windows program.

    check_resources.py WRESTOOL PROGRAM.exe NAME VERSION

WRESTOOL is icoutils' wrestool. The version resource must name the program
(InternalName, OriginalFilename), the product and its vendor, carry the
licence line, and give VERSION as FileVersion and ProductVersion, both as
text and as the numbers Windows shows in the file's properties. The manifest
must ask for no elevation (asInvoker) and declare Windows 7 to Windows 11.
"""

import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

RT_VERSION, RT_MANIFEST = 16, 24
SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}


def resource(wrestool, program, kind):
    return subprocess.run([wrestool, "--extract", "--raw", f"--type={kind}", program],
                          capture_output=True, check=True).stdout


def align(offset):
    return (offset + 3) & ~3


def parse_node(data, offset):
    """One node of a VS_VERSIONINFO tree: (key, value, children), its end."""
    length, value_length, value_type = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    key_end = offset + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[offset + 6:key_end].decode("utf-16-le")
    position = align(key_end + 2)
    if value_type == 1:  # text, its length in characters
        value = data[position:position + 2 * value_length].decode("utf-16-le").rstrip("\0")
        position += 2 * value_length
    else:
        value = data[position:position + value_length]
        position += value_length
    children = []
    position = align(position)
    while position < end:
        child, child_end = parse_node(data, position)
        children.append(child)
        position = align(child_end)
    return (key, value, children), end


def main():
    wrestool, program, name, version = sys.argv[1:5]
    problems = []

    (key, fixed, children), _ = parse_node(resource(wrestool, program, RT_VERSION), 0)
    expect_numbers = tuple(int(part) for part in version.split(".")) + (0,)
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    numbers = lambda ms, ls: (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    if key != "VS_VERSION_INFO" or signature != 0xFEEF04BD:
        problems.append(f"no VS_VERSION_INFO with a fixed part (key {key!r})")
    for label, ms, ls in (("file", file_ms, file_ls), ("product", product_ms, product_ls)):
        if numbers(ms, ls) != expect_numbers:
            problems.append(f"{label} version {numbers(ms, ls)}, wanted {expect_numbers}")

    strings = {}
    for child_key, _, tables in children:
        if child_key == "StringFileInfo":
            for _, _, entries in tables:
                strings.update({entry_key: value for entry_key, value, _ in entries})
    for entry in sorted(strings):
        print(f"  {entry}: {strings[entry]}")
    wanted = {
        "FileVersion": version,
        "ProductVersion": version,
        "ProductName": "obliczenia",
        "InternalName": name,
        "OriginalFilename": f"{name}.exe",
    }
    for entry, value in wanted.items():
        if strings.get(entry) != value:
            problems.append(f"{entry} is {strings.get(entry)!r}, wanted {value!r}")
    for entry in ("FileDescription", "CompanyName", "LegalCopyright"):
        if not strings.get(entry):
            problems.append(f"{entry} is missing or empty")
    if not strings.get("FileDescription", "").startswith(f"{name}: "):
        problems.append("FileDescription does not begin with the program's name")
    if "MIT" not in strings.get("LegalCopyright", ""):
        problems.append("LegalCopyright does not name the licence")

    manifest = ET.fromstring(resource(wrestool, program, RT_MANIFEST))
    levels = [element.get("level") for element in manifest.iter()
              if element.tag.endswith("}requestedExecutionLevel")]
    systems = {element.get("Id") for element in manifest.iter()
               if element.tag.endswith("}supportedOS")}
    print(f"  manifest: execution level {levels}, supported: "
          f"{', '.join(SUPPORTED_OS.get(s, s) for s in sorted(systems))}")
    if levels != ["asInvoker"]:
        problems.append(f"requestedExecutionLevel {levels}, wanted asInvoker")
    for guid, system in SUPPORTED_OS.items():
        if guid not in systems:
            problems.append(f"the manifest does not declare {system}")

    for problem in problems:
        print(f"FAILED: {program}: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
