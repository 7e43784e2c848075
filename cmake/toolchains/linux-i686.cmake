# 32-bit x86 Linux with g++ -m32 (Debian's g++-multilib). The compiler keeps
# its default x87 floating point; cmake/ProjectOptions.cmake makes it round
# every stored double.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

# Run the 32-bit programs directly where the kernel can; on a kernel built
# without 32-bit support, through qemu's user-mode emulator (Debian's
# qemu-user), which emulates the x87 unit with its full 80 bits.
execute_process(COMMAND /lib/ld-linux.so.2 --version
    RESULT_VARIABLE native_i386 OUTPUT_QUIET ERROR_QUIET)
if(NOT native_i386 EQUAL 0)
    find_program(QEMU_I386 qemu-i386 REQUIRED)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${QEMU_I386})
endif()
