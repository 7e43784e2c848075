// calka's source file, compiled as a unit for the tests and the benchmark.
//
// The file holds calka's globals, main and funkcja together. Included inside
// a namespace of its own, its main is an ordinary function and its globals
// cannot clash with anything else; the program's source needs no hook for it.
// The standard headers it includes come first, so their declarations stay
// global.
#ifndef CALKA_PROGRAM_H
#define CALKA_PROGRAM_H

#include <cmath>
#include <csignal>
#include <cstdio>

namespace calka_program {
#include "calka/main.cpp" // NOLINT(bugprone-suspicious-include): the program is the unit
} // namespace calka_program

#endif
