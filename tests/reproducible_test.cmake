# Builds velmo.dll and client.exe twice, from the source tree and from a copy
# of it, into build folders whose paths differ in length too, and requires
# the same bytes from both, as linked and as stripped for install. Only what
# those targets need is copied and configured (no tests), to keep it cheap.
#   cmake -DSOURCE=... -DWORK=... -DTOOLCHAIN_NAME=mingw-<processor>.cmake -DBUILD_TYPE=... -P reproducible_test.cmake
set(copy ${WORK}/copied-source-tree)
set(compared bin/velmo.dll client/client.exe stripped/velmo.dll stripped/client.exe)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${copy})
file(COPY ${SOURCE}/CMakeLists.txt ${SOURCE}/cmake ${SOURCE}/client ${SOURCE}/velmo ${SOURCE}/include
          ${SOURCE}/bitmap ${SOURCE}/gallery DESTINATION ${copy})

function(buildInto source binary)
  foreach(step IN ITEMS configure build)
    if(step STREQUAL configure)
      set(command ${CMAKE_COMMAND} -S ${source} -B ${binary} -DCMAKE_TOOLCHAIN_FILE=${source}/cmake/${TOOLCHAIN_NAME}
                  -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DMARROWBY_TESTS=OFF)
    else()
      set(command ${CMAKE_COMMAND} --build ${binary} --parallel 2 --target velmo client)
    endif()
    execute_process(COMMAND ${command} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "${step} of ${binary} failed (${result}):\n${output}")
    endif()
  endforeach()
endfunction()

buildInto(${SOURCE} ${WORK}/a)
buildInto(${copy} ${WORK}/second-build-folder)
foreach(file IN LISTS compared)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/a/${file} ${WORK}/second-build-folder/${file}
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "${file} differs between two builds of the same sources")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
