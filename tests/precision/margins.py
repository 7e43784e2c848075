#!/usr/bin/env python3
"""How far every printed value lies from the edge of its last printed digit.

Recomputes from their definitions, to 60 significant digits, every value that
calka and wartosc print, the stop tests that decide how many lines calka
prints, and the rows of the rectangle-sum table in tests/funkcja_test.cpp.
For each, the margin (the distance from the exact value to the nearest
boundary at which the printed text would change) is set against an a-priori
bound on the error of any IEEE 754 binary64 evaluation of it; every margin
must be at least RATIO_REQUIRED times its bound.

    margins.py                  check, and check that TABLE matches
    margins.py --write          check, and write TABLE afresh

Standard library only: decimal for the arithmetic, float for the binary64
additions that the programs make themselves.
"""

import decimal
import math
import re
import struct
import sys
from decimal import Decimal as D
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
TABLE = ROOT / "docs" / "precision.md"
sys.path.insert(0, str(ROOT / "tests" / "process"))
from run_case import EXPECTED_LINES  # noqa: E402  the lines the programs must print

decimal.getcontext().prec = 60
RATIO_REQUIRED = 10

# Unit roundoff of binary64.
U = D(2) ** -53
# Error allowed to pow, sin and cos, in ulps of their results. glibc's manual
# lists at most 1 ulp for each on x86-64 (its sources state about 0.52 ulp for
# pow and 0.55 ulp for sin and cos). The programs also meet other libraries
# (msvcrt, macOS's libm) whose figures we have not measured: four ulps leave
# them four times glibc's documented worst case.
LIBM_ULPS = 4
# sqrt is correctly rounded: IEEE 754 requires it.


def ulp(value):
    """The ulp of a binary64 number of this magnitude."""
    value = abs(value)
    _, exponent = math.frexp(float(value))
    return D(2) ** (exponent - 53)


def sin_cos(x):
    """sin and cos of a Decimal by their series, to the context's precision."""
    x = D(x)
    sine, cosine = D(0), D(0)
    term_s, term_c = x, D(1)
    k = 0
    while abs(term_s) > D(10) ** -70 or abs(term_c) > D(10) ** -70:
        sine += term_s
        cosine += term_c
        term_s = -term_s * x * x / ((2 * k + 2) * (2 * k + 3))
        term_c = -term_c * x * x / ((2 * k + 1) * (2 * k + 2))
        k += 1
    return sine, cosine


def gamma(n):
    """gamma_n = n u / (1 - n u), the bound of n successive roundings."""
    return n * U / (1 - n * U)


# --- the rectangle sum ------------------------------------------------------


def abscissae(step, start, end):
    """The samples of funkcja: binary64 additions, as the program makes them."""
    samples, x = [], start
    while x < end:
        x = x + step
        samples.append(x)
    return samples


def rectangle_sum(step, start, end):
    """The exact sum over the binary64 samples, and the bound on its error.

    Each term step * (sqrt(x) + 3.5)^2: sqrt correctly rounded (u), the
    addition of 3.5 (u), pow within LIBM_ULPS ulps (2 u each, relative), the
    product with step (u). The terms are summed left to right, n - 1
    roundings: |computed - sum| <= gamma(n - 1) * sum |terms| (Higham,
    Accuracy and Stability of Numerical Algorithms, 2nd ed., eq. 4.4).
    A result held wider than binary64 before its store errs less, not more.
    """
    samples = abscissae(step, start, end)
    terms = [D(step) * (D(x).sqrt() + D("3.5")) ** 2 for x in samples]
    total = sum(terms, D(0))
    base = (1 + U) * (1 + U) - 1  # sqrt(x) + 3.5, relative
    term_error = (1 + base) ** 2 * (1 + 2 * LIBM_ULPS * U) * (1 + U) - 1
    n = len(terms)
    bound = term_error * total + gamma(max(n - 1, 0)) * (1 + term_error) * total
    return total, bound, len(samples)


def f_margin(value, decimals):
    """Distance from value to the nearest boundary of printf's "%.Nf"."""
    scale = D(10) ** decimals
    scaled = value * scale
    boundary_below = (scaled - D("0.5")).to_integral_value(decimal.ROUND_FLOOR) + D("0.5")
    return min(scaled - boundary_below, boundary_below + 1 - scaled) / scale


def printed(value, decimals):
    return f"{value.quantize(D(10) ** -decimals, rounding=decimal.ROUND_HALF_EVEN)}"


# --- the rows of the table --------------------------------------------------


class Row:
    def __init__(self, where, text, exact, margin, bound, note=""):
        self.where, self.text, self.exact = where, text, exact
        self.margin, self.bound, self.note = margin, bound, note

    @property
    def ratio(self):
        return None if not self.bound else self.margin / self.bound


def calka_rows(expected_lines, problems):
    rows = []
    x1, x2 = 0.0, 100.0
    step = (x2 - x1) / 2.0
    previous, previous_bound, _ = rectangle_sum(step, x1, x2)
    line = 0
    while True:
        step = step / 2.0
        current, bound, n = rectangle_sum(step, x1, x2)
        text = printed(current, 6)
        rows.append(Row(f"calka, line {line + 1} ({n} rectangles)", text, current,
                        f_margin(current, 6), bound))
        if expected_lines[line] != text.encode():
            problems.append(f"calka line {line + 1}: {text}, expected {expected_lines[line]!r}")
        line += 1
        # The stop test, |(previous - current) / current| * 1000 < 1: its
        # operands err by the bounds of the two sums, and the subtraction,
        # division, product and absolute value add four roundings at most.
        quantity = abs((previous - current) / current) * 1000
        quantity_bound = (1000 * (previous_bound + bound) / current
                          + quantity * bound / (current - bound) + quantity * gamma(4))
        stops = quantity < 1
        rows.append(Row(f"calka, stop test after line {line}",
                        "stops" if stops else "goes on", quantity, abs(quantity - 1),
                        quantity_bound, "not printed: decides how many lines are"))
        if stops:
            break
        previous, previous_bound = current, bound
    final = f"Koncowa wartosc:\t{printed(current, 6)}"
    if line != len(expected_lines) - 1 or expected_lines[line] != final.encode():
        problems.append(f"calka: {line} lines before the final one, then {final!r}; "
                        f"expected {len(expected_lines)} lines ending {expected_lines[-1]!r}")
    return rows


def funkcja_table_rows(problems):
    """The rows of the GoogleTest table of funkcja, read from its source."""
    source = (ROOT / "tests" / "funkcja_test.cpp").read_text()
    pattern = re.compile(r'\{"(\w+)",\s*([\d.]+(?:\s*/\s*[\d.]+)?),\s*([\d.]+),\s*([\d.]+),\s*"([^"]+)"\}')
    rows = []
    for name, step, start, end, expected in pattern.findall(source):
        numbers = [float(part) for part in step.split("/")]
        step_value = numbers[0] / numbers[1] if len(numbers) == 2 else numbers[0]
        total, bound, n = rectangle_sum(step_value, float(start), float(end))
        text = printed(total, 6)
        if text != expected:
            problems.append(f"funkcja table {name}: {text}, expected {expected}")
        note = ""
        if n == 0:
            note = "no rectangle: 0 exactly, no rounding"
        elif (step_value, float(start), float(end)) == (0.1, 0.0, 1.0):
            note = (f"{n} rectangles, because ten binary64 additions of 0.1 give "
                    f"{abscissae(0.1, 0.0, 1.0)[9]!r} < 1: a discrete outcome of exact "
                    "binary64 accumulation, which no margin covers (a build that keeps "
                    "the abscissa wider takes 10 and prints 17.773565)")
        rows.append(Row(f"funkcja({step}, {start}, {end}) ({n} rectangles)", text, total,
                        f_margin(total, 6), bound, note))
    if len(rows) == 0:
        problems.append("no row of the funkcja table was found in tests/funkcja_test.cpp")
    return rows


def to_float32(value):
    return struct.unpack("<f", struct.pack("<f", float(value)))[0]


def wartosc_rows(expected_line, problems):
    x = 2.5  # exactly representable: the float point is 2.5 itself
    sine, cosine = sin_cos(D(x))
    exact = 3 * sine + 2 * cosine ** 2

    # The binary64 evaluation: sin and cos within LIBM_ULPS ulps each, the
    # product with 3.0 (one rounding), pow(c, 2.0) (LIBM_ULPS ulps of c^2,
    # plus the error of c carried through the square), the product with 2.0
    # (exact), the sum (one rounding).
    sine_term = 3 * abs(sine)
    bound = (3 * LIBM_ULPS * ulp(sine) + ulp(sine_term) / 2
             + 2 * (2 * abs(cosine) * LIBM_ULPS * ulp(cosine)
                    + LIBM_ULPS * ulp(cosine ** 2))
             + ulp(exact) / 2)

    # The store into y rounds to the nearest binary32 number: the boundaries
    # are the midpoints between y and its two neighbours.
    y = D(to_float32(exact))
    _, exponent = math.frexp(float(y))
    half_gap = D(2) ** (exponent - 24) / 2
    store_margin = min(exact - (y - half_gap), (y + half_gap) - exact)
    rows = [Row("wartosc, value stored in y (binary32)", f"{y}", exact, store_margin, bound,
                "the boundary is the midpoint between two neighbouring floats")]

    text = (f"Zadana funkcja f(x) w punkcie x={printed(D(x), 1)} "
            f"przyjmuje wartosc {printed(y, 6)}")
    if text.encode() != expected_line:
        problems.append(f"wartosc: {text!r}, expected {expected_line!r}")
    rows.append(Row('wartosc, x printed with "%.1f"', printed(D(x), 1), D(x),
                    f_margin(D(x), 1), D(0), "x is the float 2.5 exactly"))
    rows.append(Row('wartosc, y printed with "%f"', printed(y, 6), y, f_margin(y, 6), D(0),
                    "y is a float, exactly known once stored; printf rounds it correctly"))

    # Each step in binary32 instead: sinf, cosf, powf, and float products and sum.
    s = to_float32(math.sin(x))
    c = to_float32(math.cos(x))
    in_float = to_float32(to_float32(3.0 * s) + to_float32(2.0 * to_float32(c * c)))
    float_text = printed(D(in_float), 6)
    if float_text == printed(y, 6):
        problems.append("a float evaluation prints the same digits: the claim that it "
                        "lands on the other side no longer holds")
    rows.append(Row("wartosc, evaluated in binary32 instead", float_text, D(in_float),
                    None, None,
                    f"not what the program does: sinf, cosf, powf and float arithmetic give "
                    f"{D(in_float)}, the float below y, on the other side of the "
                    f"midpoint {y - half_gap} and of the \"%f\" boundary 3.0790785"))
    return rows


# --- the table ----------------------------------------------------------------


def sci(value):
    if value is None:
        return "—"
    return f"{value:.3e}" if value != 0 else "0"


def render(rows):
    out = [
        "# How far the printed digits lie from a change",
        "",
        "Written by `tests/precision/margins.py --write`; the test checks that this",
        "file matches what it computes. Each value is recomputed to 60 significant",
        "digits from its definition, over the binary64 abscissae that the program",
        "accumulates. The margin is the distance from the exact value to the nearest",
        "boundary at which the printed text would change (for \"%f\", the midpoint",
        "between two neighbouring six-decimal numbers; for the store into `y`, the",
        "midpoint between two neighbouring floats; for a stop test, 1). The bound is",
        "an a-priori bound on the error of a binary64 evaluation: recursive",
        "summation over the n rectangles, gamma(n-1) times the sum of the terms;",
        f"each term with `sqrt` correctly rounded and `pow` within {LIBM_ULPS} ulps; in",
        f"`wartosc`, `sin`, `cos` and `pow` within {LIBM_ULPS} ulps each. The test fails",
        f"where a ratio falls below {RATIO_REQUIRED}.",
        "",
        "| Value | Printed (or stored) | Exact value (15 significant digits) | Margin | Bound | Margin / bound | Note |",
        "|---|---|---|---|---|---|---|",
    ]
    for row in rows:
        ratio = "—" if row.ratio is None else f"{row.ratio:.3g}"
        exact = row.exact.normalize() if row.exact else row.exact
        out.append(f"| {row.where} | {row.text} | {exact:.15g} | {sci(row.margin)} | "
                   f"{sci(row.bound)} | {ratio} | {row.note} |")
    checked = [row for row in rows if row.ratio is not None]
    smallest = min(checked, key=lambda row: row.ratio)
    out += ["", f"Smallest ratio: {smallest.ratio:.3g}, at {smallest.where}.", ""]
    return "\n".join(out)


def main():
    problems = []
    rows = calka_rows(EXPECTED_LINES["calka"], problems)
    rows += funkcja_table_rows(problems)
    rows += wartosc_rows(EXPECTED_LINES["wartosc"][0], problems)
    for row in rows:
        if row.ratio is not None and row.ratio < RATIO_REQUIRED:
            problems.append(f"{row.where}: margin {sci(row.margin)} is only "
                            f"{row.ratio:.3g} times the bound {sci(row.bound)}")
        if row.margin == 0:
            problems.append(f"{row.where}: the value lies on a boundary")

    table = render(rows)
    print(table)
    if "--write" in sys.argv[1:]:
        TABLE.write_text(table)
        print(f"wrote {TABLE}")
    elif not TABLE.exists() or TABLE.read_text() != table:
        problems.append(f"{TABLE.relative_to(ROOT)} does not match what the script computes: "
                        "run tests/precision/margins.py --write")

    for problem in problems:
        print(f"FAILED: {problem}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
