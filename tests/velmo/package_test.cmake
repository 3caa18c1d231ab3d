# Installs the build into a fresh prefix, checks the layout and what velmo.dll
# imports, builds the C host of host/ against the installed package with the
# same toolchain, and runs it under Wine with and without bitmap/ at hand.
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
# From the installed bin/: velmo.dll and bitmap/ both come from the current directory.
execute_process(COMMAND ${wineRun} ${hostBuild}/host.exe present WORKING_DIRECTORY ${prefix}/bin
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "host present: ${result}\n${output}")
endif()
# From its own folder, with the DLL beside it and no bitmap/.
file(COPY ${prefix}/bin/velmo.dll DESTINATION ${hostBuild})
execute_process(COMMAND ${wineRun} ${hostBuild}/host.exe absent WORKING_DIRECTORY ${hostBuild}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "host absent: ${result}\n${output}")
endif()
