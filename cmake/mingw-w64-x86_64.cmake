# Windows executables with Debian's MinGW-w64 (posix threads), run under Wine as the emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
find_program(TILGOMAT_MINGW_CC x86_64-w64-mingw32-gcc-posix REQUIRED)
find_program(TILGOMAT_MINGW_CXX x86_64-w64-mingw32-g++-posix REQUIRED)
find_program(TILGOMAT_MINGW_RC x86_64-w64-mingw32-windres REQUIRED)
set(CMAKE_C_COMPILER ${TILGOMAT_MINGW_CC})
set(CMAKE_CXX_COMPILER ${TILGOMAT_MINGW_CXX})
set(CMAKE_RC_COMPILER ${TILGOMAT_MINGW_RC})
# The MinGW root is the folder above the one where the compiler finds Windows' libraries.
execute_process(COMMAND ${TILGOMAT_MINGW_CXX} -print-file-name=libkernel32.a
                OUTPUT_VARIABLE kernel32 OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(mingw_root "${kernel32}/../.." ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH ${mingw_root})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The runtime libraries go into each program, so that Wine finds nothing missing.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
# A Qt built for MinGW (scripts/qt-mingw-kit.sh) lies outside the MinGW root: it is searched as a
# root of its own, its packages through lib/cmake, as a root equal to a prefix is not found. Its
# code generators (moc, rcc, uic) are the build host's Qt of the same version, which qtpaths
# finds.
if(TILGOMAT_QT_KIT)
    list(PREPEND CMAKE_FIND_ROOT_PATH ${TILGOMAT_QT_KIT})
    list(PREPEND CMAKE_PREFIX_PATH ${TILGOMAT_QT_KIT}/lib/cmake)
    find_program(TILGOMAT_HOST_QTPATHS NAMES qtpaths6 qtpaths REQUIRED)
    execute_process(COMMAND ${TILGOMAT_HOST_QTPATHS} -query QT_INSTALL_PREFIX
                    OUTPUT_VARIABLE host_prefix OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${TILGOMAT_HOST_QTPATHS} -query QT_INSTALL_LIBS
                    OUTPUT_VARIABLE host_libs OUTPUT_STRIP_TRAILING_WHITESPACE
                    COMMAND_ERROR_IS_FATAL ANY)
    set(QT_HOST_PATH ${host_prefix} CACHE PATH "The build host's Qt")
    set(QT_HOST_PATH_CMAKE_DIR ${host_libs}/cmake CACHE PATH "The build host's Qt packages")
endif()
