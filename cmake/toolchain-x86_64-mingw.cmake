# Cross build for 64-bit x86 Windows (the test build on machines that cannot run 32-bit programs) with mingw-w64's posix-thread compilers
# (std::thread needs winpthreads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TARNWELL_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TARNWELL_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TARNWELL_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TARNWELL_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TARNWELL_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test executables run under Wine's 64-bit loader (the wine command would pick
# the 32-bit one where it is installed).
find_program(TARNWELL_WINE wine64 PATHS /usr/lib/wine /usr/lib/x86_64-linux-gnu/wine NO_DEFAULT_PATH)
if(TARNWELL_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TARNWELL_WINE})
endif()
