# Builds the host the way MSVC would, with clang-cl and lld-link against Wine's
# MSVC-compatible headers and no C runtime.
#   -DHOST_TARGET=i686-pc-windows-msvc|x86_64-pc-windows-msvc
#   -DHOST_WINE_INCLUDE=<Wine's include/wine>  -DHOST_SYSTEM_LIBRARIES=<folder of kernel32.lib, user32.lib>
#   -DCMAKE_C_COMPILER=<clang-cl> -DCMAKE_LINKER=<lld-link>
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER_TARGET ${HOST_TARGET})
# No C runtime to link the compiler's probes against.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(CMAKE_C_FLAGS_INIT "/imsvc ${HOST_WINE_INCLUDE}/msvcrt /imsvc ${HOST_WINE_INCLUDE}/windows")
set(CMAKE_EXE_LINKER_FLAGS_INIT "/libpath:${HOST_SYSTEM_LIBRARIES} /manifest:no")
set(CMAKE_C_STANDARD_LIBRARIES "kernel32.lib user32.lib" CACHE STRING "" FORCE)
