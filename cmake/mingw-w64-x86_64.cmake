# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (POSIX thread model, for std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(AMBREL_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(AMBREL_MINGW_CXX ${AMBREL_MINGW_TRIPLE}-g++-posix)
if(NOT AMBREL_MINGW_CXX)
    message(FATAL_ERROR "The windows preset needs the mingw-w64 cross compiler "
                        "${AMBREL_MINGW_TRIPLE}-g++-posix (Debian: g++-mingw-w64-x86-64-posix; "
                        "scripts/install-deps.sh windows installs it)")
endif()
set(CMAKE_C_COMPILER ${AMBREL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${AMBREL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${AMBREL_MINGW_TRIPLE}-windres)

# Libraries and packages come from the target's sysroot only, never from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${AMBREL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
