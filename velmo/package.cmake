# Installs velmo for host programs and packs the same tree into a zip:
#   bin/velmo.dll          the library
#   bin/bitmap/            the theme, found beside velmo.dll from any current
#                          directory; a bitmap/ in the current one comes first
#   lib/libvelmo.dll.a     the import library
#   include/velmo.h        the public header, for C and C++
#   lib/cmake/velmo/       find_package(velmo): imported target velmo::velmo and
#                          velmo_BITMAP_DIR
include(CMakePackageConfigHelpers)

set(velmoConfigDirectory lib/cmake/velmo)
set(VELMO_BITMAP_DIR bin/bitmap)

install(TARGETS velmo EXPORT velmoTargets
  RUNTIME DESTINATION bin
  ARCHIVE DESTINATION lib)
install(FILES ${PROJECT_SOURCE_DIR}/include/velmo.h DESTINATION include)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/bitmap DESTINATION bin)
install(EXPORT velmoTargets NAMESPACE velmo:: DESTINATION ${velmoConfigDirectory})

configure_package_config_file(velmoConfig.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/velmoConfig.cmake
  INSTALL_DESTINATION ${velmoConfigDirectory}
  PATH_VARS VELMO_BITMAP_DIR)
# Also records the 32-bit pointer size, so a 64-bit host doesn't pick the package up.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/velmoConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/velmoConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/velmoConfigVersion.cmake
  DESTINATION ${velmoConfigDirectory})

set(CPACK_PACKAGE_NAME velmo)
set(CPACK_PACKAGE_VENDOR "Marrowby")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Skinned window controls for 32-bit Windows programs")
set(CPACK_GENERATOR ZIP)
set(CPACK_SYSTEM_NAME win32)
include(CPack)
