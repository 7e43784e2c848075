#!/usr/bin/env python3
"""Checks that a built program costs no more than a plain C program.

    check_binary.py elf PROGRAM              (readelf and nm from binutils)
    check_binary.py pe PROGRAM OBJDUMP       (the MinGW objdump)

ELF: the only shared libraries it needs are the C library, the math library
and the dynamic loader, and no C++ static initialiser (iostreams' among them)
runs before main. PE: it imports KERNEL32.dll and msvcrt.dll and nothing else.
"""

import re
import subprocess
import sys

ELF_ALLOWED = re.compile(r"^(libc|libm|ld-linux[-\w]*)\.so\.\d+$")
PE_ALLOWED = {"kernel32.dll", "msvcrt.dll"}


def run(*command):
    return subprocess.run(command, capture_output=True, text=True, check=True).stdout


def check_elf(program):
    problems = []
    needed = re.findall(r"\(NEEDED\)\s+Shared library: \[([^\]]+)\]", run("readelf", "-d", program))
    print(f"needed: {', '.join(needed)}")
    problems += [f"needs {lib}" for lib in needed if not ELF_ALLOWED.match(lib)]
    symbols = run("nm", "--defined-only", program)
    problems += [f"runs {line.split()[-1]} before main" for line in symbols.splitlines()
                 if "_GLOBAL__sub_I" in line or "ios_base4Init" in line]
    return problems


def check_pe(program, objdump):
    imports = re.findall(r"DLL Name: (\S+)", run(objdump, "-p", program))
    print(f"imports: {', '.join(imports)}")
    return [f"imports {dll}" for dll in imports if dll.lower() not in PE_ALLOWED]


def main():
    kind, program = sys.argv[1], sys.argv[2]
    problems = check_elf(program) if kind == "elf" else check_pe(program, sys.argv[3])
    for problem in problems:
        print(f"FAILED: {program} {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
