#!/usr/bin/env python3
"""Checks that the documentation shows the programs' output exactly.

The manual pages (English and Polish), the README and the Windows README.txt
each quote what calka and wartosc print. Every quotation must hold the
expected lines, in order and byte for byte (the tab in calka's last line
included), as the process harness expects them from the programs.
"""

import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(ROOT / "tests" / "process"))
from run_case import EXPECTED_LINES  # noqa: E402

# Each document, and the programs whose whole output it quotes.
DOCUMENTS = {
    "man/calka.1": ["calka"],
    "man/pl/calka.1": ["calka"],
    "man/wartosc.1": ["wartosc"],
    "man/pl/wartosc.1": ["wartosc"],
    "README.md": ["calka", "wartosc"],
    "packaging/windows/README.txt.in": ["calka", "wartosc"],
}


def quotes(lines, expected):
    """Whether the expected lines stand consecutively, each indented alike."""
    stripped = [line.strip(b" ") for line in lines]
    for start in range(len(stripped) - len(expected) + 1):
        if stripped[start:start + len(expected)] == expected:
            return True
    return False


def main():
    problems = []
    for name, programs in DOCUMENTS.items():
        lines = (ROOT / name).read_bytes().split(b"\n")
        for program in programs:
            if quotes(lines, EXPECTED_LINES[program]):
                print(f"{name}: quotes the output of {program}")
            else:
                problems.append(f"{name} does not quote the exact output of {program}")
    for problem in problems:
        print(f"FAILED: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
