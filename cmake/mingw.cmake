# Cross-compiles for Windows with MinGW-w64 for CMAKE_SYSTEM_PROCESSOR (i686 or
# x86_64, set by mingw-<processor>.cmake); the -posix compilers give std::thread
# and friends, which GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(mingwTriplet ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)

set(CMAKE_C_COMPILER ${mingwTriplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingwTriplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingwTriplet}-windres)
set(CMAKE_DLLTOOL ${mingwTriplet}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${mingwTriplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Static runtime: the binaries need only the system's own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Every Windows test executable runs through Wine in the build folder's own prefix;
# wine-run picks the 32- or 64-bit loader from the program itself.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run")
