# 64-bit Windows: MinGW-w64 x86_64, the same sources built a second time.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
