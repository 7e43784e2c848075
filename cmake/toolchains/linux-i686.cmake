# 32-bit x86 Linux with g++ -m32 (Debian's g++-multilib). The compiler keeps
# its default x87 floating point; cmake/ProjectOptions.cmake makes it round
# every stored double.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
