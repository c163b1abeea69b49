# Cross-builds every program for 64-bit Windows with Debian's MinGW-w64 (package mingw-w64).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
