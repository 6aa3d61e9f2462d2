# Cross-compiling the Windows x64 product on Debian with MinGW-w64.
#
# Debian's posix-thread compilers are used: std::thread and std::mutex need
# them. Everything is linked statically, so the executables need no MinGW
# DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VAMRHELPER_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${VAMRHELPER_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VAMRHELPER_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${VAMRHELPER_MINGW_TRIPLE}-windres)

# Headers and libraries come from the MinGW root (and from any prefix named
# in CMAKE_PREFIX_PATH, e.g. the cross-built libpng and libjpeg); programs
# such as JUCE's juceaide run natively.
set(CMAKE_FIND_ROOT_PATH /usr/${VAMRHELPER_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The cross-built libpng and libjpeg (scripts/windows-deps) are searched as a
# second root beside MinGW's.
if(VAMRHELPER_WINDOWS_DEPS)
    list(APPEND CMAKE_FIND_ROOT_PATH "${VAMRHELPER_WINDOWS_DEPS}")
endif()
