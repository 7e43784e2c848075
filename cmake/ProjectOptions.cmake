# Compiler settings that every target of the project shares, whatever the
# preset: the language standard, the warnings and the floating-point model.
# Targets get them by linking project_options.

option(PROJECT_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
option(PROJECT_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

add_library(project_options INTERFACE)

target_compile_options(project_options INTERFACE
    -Wall -Wextra -Wpedantic -Wconversion -Wdouble-promotion
    $<$<BOOL:${PROJECT_WARNINGS_AS_ERRORS}>:-Werror>)

# No fused multiply-add: a sum and a product stay two roundings on every
# target, including those whose compilers fuse by default.
target_compile_options(project_options INTERFACE -ffp-contract=off)

# Where double arithmetic runs on the x87 unit (32-bit x86 without SSE2 math),
# values live in 80-bit registers and a variable may skip its rounding to
# double. The programs count on each assignment storing a double: summing
# 0.1 ten times must give 1 - 2^-53, below 1, not the exact 1.0000000000000000555
# that the wide register holds. Detect the x87 case from the compiler itself.
include(CheckCXXSourceCompiles)
check_cxx_source_compiles([=[
#include <cfloat>
#if !defined(FLT_EVAL_METHOD) || FLT_EVAL_METHOD == 0
#error "double arithmetic is evaluated in double"
#endif
int main() { return 0; }
]=] PROJECT_EXCESS_FP_PRECISION)

if(PROJECT_EXCESS_FP_PRECISION)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        # Keep the x87 unit, but round every assigned variable to its type.
        target_compile_options(project_options INTERFACE -ffloat-store)
        message(STATUS "x87 floating point: building with -ffloat-store")
    else()
        # Compilers without -ffloat-store do double arithmetic in SSE2 instead.
        target_compile_options(project_options INTERFACE -msse2 -mfpmath=sse)
        message(STATUS "x87 floating point: building with -msse2 -mfpmath=sse")
    endif()
endif()

# The programs use only the C and math libraries. Link no other shared library
# that a driver adds by default (clang++ names libstdc++ and libgcc_s even
# when nothing of them is used), so none is loaded at start. Asked of the
# linker itself: GNU ld and lld take --as-needed, others (macOS's) reject it.
include(CheckLinkerFlag)
check_linker_flag(CXX "LINKER:--as-needed" PROJECT_LINKER_AS_NEEDED)
if(PROJECT_LINKER_AS_NEEDED)
    target_link_options(project_options INTERFACE "LINKER:--as-needed")
endif()

# The hardening Debian builds its own packages with, where the platform has
# it: checked variants of the C library's printing functions (they need the
# optimiser, so not in Debug builds) and a Global Offset Table made read-only
# before main.
if(NOT WIN32)
    target_compile_definitions(project_options INTERFACE
        $<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
    check_linker_flag(CXX "LINKER:-z,relro,-z,now" PROJECT_LINKER_BIND_NOW)
    if(PROJECT_LINKER_BIND_NOW)
        target_link_options(project_options INTERFACE "LINKER:-z,relro,-z,now")
    endif()
endif()

# A Windows program carries the time it was linked in its PE header unless
# told not to; without it, two builds of the same sources are the same bytes.
if(WIN32)
    check_linker_flag(CXX "LINKER:--no-insert-timestamp" PROJECT_LINKER_NO_TIMESTAMP)
    if(PROJECT_LINKER_NO_TIMESTAMP)
        target_link_options(project_options INTERFACE "LINKER:--no-insert-timestamp")
    endif()
endif()

# Nothing of where the sources or the build lie reaches the programs (file
# names in assertions or debug information), so two builds of the same commit
# in different folders give the same bytes.
include(CheckCXXCompilerFlag)
check_cxx_compiler_flag("-ffile-prefix-map=a=b" PROJECT_HAS_FILE_PREFIX_MAP)
if(PROJECT_HAS_FILE_PREFIX_MAP)
    target_compile_options(project_options INTERFACE
        "-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=" "-ffile-prefix-map=${PROJECT_BINARY_DIR}/=")
endif()

if(PROJECT_SANITIZE)
    set(sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=all
        -fno-omit-frame-pointer)
    target_compile_options(project_options INTERFACE ${sanitizer_flags})
    target_link_options(project_options INTERFACE ${sanitizer_flags})
endif()

# What the two programs add to the shared settings. They throw nothing and
# call only C functions, so they are built without exceptions: like the same
# code compiled as C, they then need no unwinder (on 32-bit ARM, C++ code
# otherwise calls libgcc_s's personality routine and loads libgcc_s.so.1).
add_library(program_options INTERFACE)
target_link_libraries(program_options INTERFACE project_options)
target_compile_options(program_options INTERFACE -fno-exceptions)
