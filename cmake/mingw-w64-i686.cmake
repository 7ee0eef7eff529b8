# Cross build for 32-bit Windows with mingw-w64 (posix threads, static runtime); the
# result runs on 32-bit and 64-bit Windows alike.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwW64.cmake)
