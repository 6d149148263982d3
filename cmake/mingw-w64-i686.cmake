# 32-bit Windows build (the shipping DLL set) with the posix-thread mingw-w64 compilers; tests
# run under wine64 in its WoW64 mode (32-bit Windows code inside the 64-bit Wine process), which
# needs Wine's 32-bit Windows-side DLLs (scripts/install-deps.sh puts them in place).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Floating point (used only to build tables) in SSE2 double precision, as in the 64-bit
# builds, so that every table comes out the same in all three builds.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
find_program(FXUI_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(FXUI_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${FXUI_WINE64})
endif()
