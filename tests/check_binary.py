#!/usr/bin/env python3
"""Checks that a built program costs no more than a plain C program.

    check_binary.py OBJDUMP PROGRAM

OBJDUMP is the build's own objdump (GNU or LLVM, the MinGW one for Windows).
The program may load only the C library, the math library and the dynamic
loader (on Windows: import KERNEL32.dll and msvcrt.dll only), and no C++
static initialiser (iostreams' among them) may run before main.
"""

import re
import subprocess
import sys

ELF_ALLOWED = re.compile(r"^(libc|libm|ld-linux[-\w]*|ld64)\.so\.\d+$")
PE_ALLOWED = {"kernel32.dll", "msvcrt.dll"}


def objdump(tool, option, program):
    return subprocess.run([tool, option, program], capture_output=True, text=True,
                          check=True).stdout


def main():
    tool, program = sys.argv[1], sys.argv[2]
    headers = objdump(tool, "-p", program)
    if "file format pe" in headers:
        libraries = re.findall(r"DLL Name: (\S+)", headers)
        allowed = lambda name: name.lower() in PE_ALLOWED
    else:
        libraries = re.findall(r"^\s*NEEDED\s+(\S+)", headers, re.MULTILINE)
        allowed = ELF_ALLOWED.match
    print(f"loads: {', '.join(libraries)}")
    problems = [f"loads {name}" for name in libraries if not allowed(name)]

    symbols = objdump(tool, "-t", program)
    problems += [f"runs {line.split()[-1]} before main" for line in symbols.splitlines()
                 if "_GLOBAL__sub_I" in line or "ios_base4Init" in line]

    for problem in problems:
        print(f"FAILED: {program} {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
