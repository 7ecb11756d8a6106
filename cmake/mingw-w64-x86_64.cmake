# Windows executables with Debian's MinGW-w64 (posix threads), run under Wine as the emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The runtime libraries go into each program, so that Wine finds nothing missing.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
# A Qt built for MinGW (scripts/qt-mingw-kit.sh) lies outside the MinGW root: it is searched as a
# root of its own, its packages through lib/cmake, as a root equal to a prefix is not found.
if(TILGOMAT_QT_KIT)
    list(PREPEND CMAKE_FIND_ROOT_PATH ${TILGOMAT_QT_KIT})
    list(PREPEND CMAKE_PREFIX_PATH ${TILGOMAT_QT_KIT}/lib/cmake)
endif()
