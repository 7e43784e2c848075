# 32-bit Windows, cross-compiled with MinGW-w64 (Debian's g++-mingw-w64-i686).
# The programs are linked statically, so each .exe imports only KERNEL32.dll
# and msvcrt.dll, and run here under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
# The posix thread model: GoogleTest needs std::mutex, which the win32 model
# of this MinGW lacks. Static linking keeps winpthread out of the imports.
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests run the .exe files through wine, with no display and without wine's
# own chatter on standard error, in the prefix named by WINEPREFIX at configure
# time or else in one of this build's own. Wine makes the prefix on its first
# start, which is the GoogleTest listing that CTest runs alone before any test.
if(DEFINED ENV{WINEPREFIX})
    set(wine_prefix $ENV{WINEPREFIX})
else()
    set(wine_prefix ${CMAKE_BINARY_DIR}/wineprefix)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR
    env WINEPREFIX=${wine_prefix} WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= DISPLAY=
        wine)
