# Builds velmo.dll and client.exe from the source tree and from a copy of it,
# into build folders whose paths differ in length too, and requires the same
# bytes, linked and stripped. Only those targets are built, without the tests.
#   cmake -DSOURCE=... -DWORK=... -DTOOLCHAIN=... -DBUILD_TYPE=... -P reproducible_test.cmake
file(REMOVE_RECURSE ${WORK})
set(sources ${SOURCE} ${WORK}/copied-source-tree)
set(binaries ${WORK}/a ${WORK}/second-build-folder)
file(COPY ${SOURCE}/CMakeLists.txt ${SOURCE}/cmake ${SOURCE}/client ${SOURCE}/velmo ${SOURCE}/include
          ${SOURCE}/bitmap ${SOURCE}/themes ${SOURCE}/gallery ${SOURCE}/tools DESTINATION ${WORK}/copied-source-tree)
foreach(source binary IN ZIP_LISTS sources binaries)
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${source} -B ${binary} -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}
                          -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DMARROWBY_TESTS=OFF OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${binary} --parallel 2 --target velmo client
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
endforeach()
foreach(file bin/velmo.dll client/client.exe stripped/velmo.dll stripped/client.exe)
  execute_process(COMMAND cmp ${WORK}/a/${file} ${WORK}/second-build-folder/${file} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(REMOVE_RECURSE ${WORK})
