# Installs the build into a fresh prefix, checks the layout and what velmo.dll
# imports, builds the C host of host/ against the installed package with the
# same toolchain, and runs it under Wine with and without bitmap/ at hand,
# from the installed bin/ and from another folder.
#   cmake -DBUILD=... -DSOURCE=... -DWORK=... -DTOOLCHAIN=... -DOBJDUMP=... -P package_test.cmake
set(prefix ${WORK}/prefix)
set(hostBuild ${WORK}/host)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}\n${output}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix})

foreach(file bin/velmo.dll lib/libvelmo.dll.a include/velmo.h lib/cmake/velmo/velmoConfig.cmake
             lib/cmake/velmo/velmoConfigVersion.cmake lib/cmake/velmo/velmoTargets.cmake)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(GLOB bitmaps ${prefix}/bin/bitmap/*.bmp)
list(LENGTH bitmaps bitmapCount)
if(NOT bitmapCount EQUAL 17)
  message(FATAL_ERROR "bin/bitmap holds ${bitmapCount} bitmaps, not 17")
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

run(${CMAKE_COMMAND} -S ${SOURCE}/tests/velmo/host -B ${hostBuild} -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${hostBuild})

# Both runs share the main build's Wine prefix and display.
set(ENV{MARROWBY_WINEPREFIX} ${BUILD}/wineprefix)
set(wineRun ${SOURCE}/tools/wine-run)
function(runHost program mode folder)
  execute_process(COMMAND ${wineRun} ${program} ${mode} WORKING_DIRECTORY ${folder}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "host ${mode} in ${folder}: ${result}\n${output}")
  endif()
endfunction()
# From the installed bin/: velmo.dll and bitmap/ both come from the current directory.
runHost(${hostBuild}/host.exe present ${prefix}/bin)
# Installed beside velmo.dll and started from another folder: bitmap/ comes
# from beside the library.
file(COPY ${hostBuild}/host.exe DESTINATION ${prefix}/bin)
runHost(${prefix}/bin/host.exe present ${hostBuild})
# From its own folder, with the DLL beside it and no bitmap/.
file(COPY ${prefix}/bin/velmo.dll DESTINATION ${hostBuild})
runHost(${hostBuild}/host.exe absent ${hostBuild})
