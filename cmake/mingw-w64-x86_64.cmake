# Cross build for 64-bit Windows with Debian's MinGW-w64 compiler (posix threads flavour).
# Programs link statically, so the .exe files run under Wine or on Windows without extra DLLs.
# The host's /usr/include never reaches this compiler: glibc's headers break MinGW's own. Header-only
# libraries the build needs from the host are offered through a folder that holds only them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VPR_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VPR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VPR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VPR_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VPR_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and the serial checks run the programs through Wine.
find_program(VPR_WINE wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(VPR_WINE wine64)
if(VPR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VPR_WINE})
endif()

# The static Qt and yaml-cpp that tools/build-qt-windows.sh builds from Debian's sources: the
# desktop program, print, export and import need them. VPR_WINDOWS_QT names the cache folder;
# by default the script says where it is. Building that Qt uses this file too, before the cache
# is complete, and then finds nothing here.
if(NOT DEFINED VPR_WINDOWS_QT AND DEFINED ENV{VPR_WINDOWS_QT})
  set(VPR_WINDOWS_QT "$ENV{VPR_WINDOWS_QT}")
endif()
if(NOT DEFINED VPR_WINDOWS_QT)
  execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/../tools/build-qt-windows.sh --path
                  OUTPUT_VARIABLE VPR_WINDOWS_QT OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(VPR_WINDOWS_QT AND EXISTS "${VPR_WINDOWS_QT}/complete")
  # Qt runs the host's moc, rcc and uic, of the same version.
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
  list(APPEND CMAKE_FIND_ROOT_PATH "${VPR_WINDOWS_QT}/qt" "${VPR_WINDOWS_QT}/yaml-cpp")
  list(APPEND CMAKE_PREFIX_PATH "${VPR_WINDOWS_QT}/qt" "${VPR_WINDOWS_QT}/yaml-cpp")
  set(VPR_WINDOWS_QT_FOUND ON)
endif()
