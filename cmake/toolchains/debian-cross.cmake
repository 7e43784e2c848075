# Any Debian cross target, given its GNU triple in PROJECT_CROSS_TRIPLE (for
# instance aarch64-linux-gnu): Debian's cross compiler g++-<triple>, the
# target's C library under /usr/<triple>, and qemu's user-mode emulator
# (Debian's qemu-user) to run the programs and the tests. The Debian
# architecture (arm64, armhf, s390x, i386) comes from dpkg-architecture.
if(NOT PROJECT_CROSS_TRIPLE)
    message(FATAL_ERROR "set PROJECT_CROSS_TRIPLE to the GNU triple of the target")
endif()
# try_compile projects read this file again and need the triple too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PROJECT_CROSS_TRIPLE)

set(sysroot /usr/${PROJECT_CROSS_TRIPLE})
execute_process(COMMAND dpkg-architecture -t ${PROJECT_CROSS_TRIPLE} -qDEB_HOST_GNU_CPU
    OUTPUT_VARIABLE cpu OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND dpkg-architecture -t ${PROJECT_CROSS_TRIPLE} -qDEB_HOST_ARCH
    OUTPUT_VARIABLE PROJECT_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET
    COMMAND_ERROR_IS_FATAL ANY)

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR ${cpu})
set(CMAKE_LIBRARY_ARCHITECTURE ${PROJECT_CROSS_TRIPLE})
set(CMAKE_C_COMPILER ${PROJECT_CROSS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${PROJECT_CROSS_TRIPLE}-g++)

set(CMAKE_FIND_ROOT_PATH ${sysroot})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# qemu-user names its emulators by CPU, with i386 for the whole x86 family.
# It emulates each target's floating point in full: the x87 unit's 80 bits on
# i686, fused multiply-add where the target has it.
string(REGEX REPLACE "^i[3-6]86$" "i386" qemu_cpu ${cpu})
find_program(PROJECT_QEMU qemu-${qemu_cpu} REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_QEMU} -L ${sysroot})
