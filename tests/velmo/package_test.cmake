# Installs the build into a fresh prefix, checks the layout, the stripped
# binaries, cpack's zips and what velmo.dll imports and exports, and builds the
# C host of host/ against the installed package four ways: with the same MinGW
# toolchain through find_package, the way MSVC links (clang for the Microsoft
# ABI, lld-link, velmo.lib, no C runtime), through find_package with clang-cl,
# and through pkg-config with the MinGW compiler. It runs them under Wine
# (the first with and without bitmap/ at hand, and from another folder), runs
# the installed themecheck.exe on the installed slate theme
# and checks that a MinGW host of the other pointer size is refused.
#   cmake -DBUILD=... -DSOURCE=... -DWORK=... -DTOOLCHAIN=... -DOTHER_TOOLCHAIN=... -DOBJDUMP=...
#         -DBITS=32|64 -DCLANG=... -DCLANG_CL=... -DLLD_LINK=... -DDLLTOOL=... -DWINE_INCLUDE=...
#         -DWINDRES=... -DVERSION=... -DMINGW_CC=... -DPKG_CONFIG=... -DCPACK=... -P package_test.cmake
set(prefix ${WORK}/prefix)
set(hostBuild ${WORK}/host)
set(hostSource ${SOURCE}/tests/velmo/host)
if(BITS EQUAL 64)
  set(msvcTarget x86_64-pc-windows-msvc)
  set(msvcMachine i386:x86-64)
  set(system win64-x86_64)
else()
  set(msvcTarget i686-pc-windows-msvc)
  set(msvcMachine i386)
  set(system win32-i686)
endif()

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}\n${output}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix})

foreach(file bin/velmo.dll lib/libvelmo.dll.a lib/velmo.lib include/velmo.h lib/cmake/velmo/velmoConfig.cmake
             lib/cmake/velmo/velmoConfigVersion.cmake lib/cmake/velmo/velmoTargets.cmake lib/pkgconfig/velmo.pc)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
# The built-in theme's 17 bitmaps in each set; the slate theme folder's 28,
# with the hot and disabled ones, and a theme.ini beside its 1x sets.
foreach(themeFolder bin/bitmap bin/bitmap/2x bin/bitmap/dark bin/bitmap/dark/2x
                    bin/themes/slate bin/themes/slate/2x bin/themes/slate/dark bin/themes/slate/dark/2x)
  set(expectedCount 17)
  if(themeFolder MATCHES "^bin/themes/")
    set(expectedCount 28)
  endif()
  file(GLOB bitmaps ${prefix}/${themeFolder}/*.bmp)
  list(LENGTH bitmaps bitmapCount)
  if(NOT bitmapCount EQUAL expectedCount)
    message(FATAL_ERROR "${themeFolder} holds ${bitmapCount} bitmaps, not ${expectedCount}")
  endif()
endforeach()
foreach(file bin/themes/slate/theme.ini bin/themes/slate/dark/theme.ini)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# Each binary stripped, with its debug file found through its debug link
# (objdump checks the file's CRC, as gdb does), and stating its version.
foreach(binary velmo.dll gallery.exe themecheck.exe client.exe)
  execute_process(COMMAND ${OBJDUMP} --dwarf=follow-links --dwarf=aranges ${prefix}/bin/${binary}
                  WORKING_DIRECTORY ${WORK} OUTPUT_VARIABLE debug ERROR_VARIABLE debug)
  run(${WINDRES} -J coff -O rc -i ${prefix}/bin/${binary})
  if(NOT debug MATCHES "loaded from [^)]*/bin/${binary}\\.debug\\)" OR
     NOT output MATCHES "\"FileVersion\", \"${VERSION}\".*\"OriginalFilename\", \"${binary}\"")
    message(FATAL_ERROR "${binary} lacks its debug link to bin/${binary}.debug or version ${VERSION}:\n${debug}${output}")
  endif()
endforeach()
file(SIZE ${prefix}/bin/velmo.dll dllSize)
if(dllSize GREATER 262144)
  message(FATAL_ERROR "velmo.dll is ${dllSize} bytes stripped, over its budget of 256 KB")
endif()

# The library's zip, the client's with the program and its text, a debug zip for each.
run(${CPACK} --config ${BUILD}/CPackConfig.cmake -B ${WORK}/zips)
file(GLOB zips RELATIVE ${WORK}/zips ${WORK}/zips/*.zip)
run(${CMAKE_COMMAND} -E tar tf ${WORK}/zips/client-${VERSION}-${system}.zip)
if(NOT zips STREQUAL "client-${VERSION}-${system}-debug.zip;client-${VERSION}-${system}.zip;velmo-${VERSION}-${system}-debug.zip;velmo-${VERSION}-${system}.zip"
   OR NOT output STREQUAL "bin/\nbin/client.exe\nbin/client.txt\n")
  message(FATAL_ERROR "cpack made ${zips}; the client's holds:\n${output}")
endif()

# Static runtimes: the DLL may need nothing but the system's own DLLs.
run(${OBJDUMP} -p ${prefix}/bin/velmo.dll)
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${output}")
foreach(import IN LISTS imports)
  string(REPLACE "DLL Name: " "" name "${import}")
  string(TOLOWER "${name}" name)
  if(NOT name MATCHES "^(kernel32|user32|gdi32|shlwapi|msvcrt)\\.dll$")
    message(FATAL_ERROR "velmo.dll imports ${name}")
  endif()
endforeach()

# Text is drawn from UTF-16: GDI's ANSI text functions read the system's code
# page, not the process's.
string(REGEX MATCH "[0-9]+ +(DrawTextA|TextOutA|ExtTextOutA)\n" ansiTextImport "${output}")
if(ansiTextImport)
  message(FATAL_ERROR "velmo.dll imports ${ansiTextImport}")
endif()

# Exactly velmo.def's names, undecorated, whatever the pointer size.
file(STRINGS ${SOURCE}/velmo/velmo.def expectedExports REGEX "^    [A-Za-z]")
list(TRANSFORM expectedExports REPLACE "^ +([A-Za-z]+).*" "\\1")
string(FIND "${output}" "[Ordinal/Name Pointer] Table" nameTable)
string(SUBSTRING "${output}" ${nameTable} -1 nameTable)
string(FIND "${nameTable}" "\n\n" tableEnd)
math(EXPR tableEnd "${tableEnd} + 1")
string(SUBSTRING "${nameTable}" 0 ${tableEnd} nameTable)
string(REGEX MATCHALL "\\[ *[0-9]+\\] [A-Za-z]+\n" exports "${nameTable}")
list(TRANSFORM exports REPLACE "^\\[ *[0-9]+\\] ([A-Za-z]+)\n" "\\1")
list(SORT expectedExports)
list(SORT exports)
if(NOT exports STREQUAL expectedExports)
  message(FATAL_ERROR "velmo.dll exports ${exports}\nnot ${expectedExports}")
endif()

# Every run shares the main build's Wine prefix and display.
set(ENV{MARROWBY_WINEPREFIX} ${BUILD}/wineprefix)
set(wineRun ${SOURCE}/tools/wine-run)

# runHost(EXE MODE DIR): the host's exit status names the checks that failed.
function(runHost exe mode directory)
  execute_process(COMMAND ${wineRun} ${exe} ${mode} WORKING_DIRECTORY ${directory}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${exe} ${mode}: status ${result}\n${output}")
  endif()
endfunction()

run(${CMAKE_COMMAND} -S ${hostSource} -B ${hostBuild} -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${hostBuild})
# The installed checker finds the installed slate theme by its name.
execute_process(COMMAND ${wineRun} ${prefix}/bin/themecheck.exe slate WORKING_DIRECTORY ${WORK}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "themecheck.exe slate: status ${result}\n${output}")
endif()
# From the installed bin/: velmo.dll and bitmap/ both come from the current directory.
runHost(${hostBuild}/host.exe present ${prefix}/bin)
# Installed beside velmo.dll and started from another folder: bitmap/ comes
# from beside the library.
file(COPY ${hostBuild}/host.exe DESTINATION ${prefix}/bin)
runHost(${prefix}/bin/host.exe present ${hostBuild})
# From its own folder, with the DLL beside it and no bitmap/.
file(COPY ${prefix}/bin/velmo.dll DESTINATION ${hostBuild})
runHost(${hostBuild}/host.exe absent ${hostBuild})

# The system import libraries of a host without a C runtime, in Microsoft's
# format; x64 has no stdcall decoration.
set(systemLibraries ${WORK}/system)
file(MAKE_DIRECTORY ${systemLibraries})
foreach(library kernel32 user32)
  file(READ ${hostSource}/${library}.def def)
  if(BITS EQUAL 64)
    string(REGEX REPLACE "@[0-9]+" "" def "${def}")
  endif()
  file(WRITE ${systemLibraries}/${library}.def "${def}")
  run(${DLLTOOL} -m ${msvcMachine} -k -d ${systemLibraries}/${library}.def -l ${systemLibraries}/${library}.lib)
endforeach()

# The header as MSVC-era C, and as C++. Wine's winnt.h defines inline
# functions under names that clang++ already has as Microsoft intrinsics, which
# C++ refuses; renamed, they leave the check to velmo.h.
set(wineHeaders -isystem ${WINE_INCLUDE}/msvcrt -isystem ${WINE_INCLUDE}/windows)
set(renamedIntrinsics)
foreach(name InterlockedAnd64 InterlockedCompareExchangePointer InterlockedDecrement64 InterlockedExchangeAdd64
             InterlockedExchangePointer InterlockedIncrement64 InterlockedOr64 InterlockedXor64
             InterlockedCompareExchange128)
  list(APPEND renamedIntrinsics -D_${name}=wineInline${name})
endforeach()
file(WRITE ${WORK}/header.cpp "#include <velmo.h>\n")
run(${CLANG} --target=${msvcTarget} -x c++ ${renamedIntrinsics} -fsyntax-only -Wall -Wextra -Werror
    ${wineHeaders} -I${prefix}/include ${WORK}/header.cpp)
set(msvcHost ${WORK}/msvc-host)
file(MAKE_DIRECTORY ${msvcHost})
run(${CLANG} --target=${msvcTarget} -std=c89 -Wall -Wextra -Werror -DHOST_NO_C_RUNTIME ${wineHeaders}
    -I${prefix}/include -c ${hostSource}/host.c -o ${msvcHost}/host.obj)
run(${LLD_LINK} /nologo /subsystem:console /entry:hostStart /nodefaultlib /out:${msvcHost}/host.exe
    ${msvcHost}/host.obj ${prefix}/lib/velmo.lib ${systemLibraries}/kernel32.lib ${systemLibraries}/user32.lib)
runHost(${msvcHost}/host.exe present ${prefix}/bin)

# A CMake consumer with the Microsoft ABI: the package hands it velmo.lib.
set(clangClBuild ${WORK}/clang-cl-host)
run(${CMAKE_COMMAND} -S ${hostSource} -B ${clangClBuild} -DCMAKE_TOOLCHAIN_FILE=${hostSource}/msvc-toolchain.cmake
    -DHOST_TARGET=${msvcTarget} -DHOST_WINE_INCLUDE=${WINE_INCLUDE} -DHOST_SYSTEM_LIBRARIES=${systemLibraries}
    -DCMAKE_C_COMPILER=${CLANG_CL} -DCMAKE_LINKER=${LLD_LINK} -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${clangClBuild} --verbose)
if(NOT output MATCHES "velmo\\.lib" OR output MATCHES "libvelmo\\.dll\\.a")
  message(FATAL_ERROR "the clang-cl host didn't link velmo.lib:\n${output}")
endif()
runHost(${clangClBuild}/host.exe present ${prefix}/bin)

# A plain build, with the flags that pkg-config reads from velmo.pc where it lies.
set(ENV{PKG_CONFIG_LIBDIR} ${prefix}/lib/pkgconfig)
run(${PKG_CONFIG} --cflags --libs velmo)
separate_arguments(pkgConfigFlags UNIX_COMMAND "${output}")
file(MAKE_DIRECTORY ${WORK}/pkg-config-host)
run(${MINGW_CC} -std=c89 -Wall -Wextra -Werror ${hostSource}/host.c ${pkgConfigFlags} -o ${WORK}/pkg-config-host/host.exe)
runHost(${WORK}/pkg-config-host/host.exe present ${prefix}/bin)

# A host of the other pointer size doesn't take this package, and hears why.
execute_process(COMMAND ${CMAKE_COMMAND} -S ${hostSource} -B ${WORK}/other-host -DCMAKE_TOOLCHAIN_FILE=${OTHER_TOOLCHAIN}
                        -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=${prefix}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result EQUAL 0 OR NOT output MATCHES "for ${BITS}-bit hosts only")
  message(FATAL_ERROR "a host of the other pointer size was not refused clearly (${result}):\n${output}")
endif()
