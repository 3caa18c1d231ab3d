# Installs velmo for host programs and packs the same tree into a zip:
#   bin/velmo.dll          the library
#   bin/bitmap/            the theme, found beside velmo.dll from any current
#                          directory; a bitmap/ in the current one comes first;
#                          bin/bitmap/2x/ the same drawn at twice the size;
#                          bin/bitmap/dark/ (and its 2x/) the dark theme
#   lib/libvelmo.dll.a     the import library for MinGW hosts
#   lib/velmo.lib          the same in Microsoft's format, for MSVC-compatible hosts
#   include/velmo.h        the public header, for C and C++
#   lib/cmake/velmo/       find_package(velmo): imported target velmo::velmo and
#                          velmo_BITMAP_DIR; only for hosts of the same pointer size
include(CMakePackageConfigHelpers)

set(velmoConfigDirectory lib/cmake/velmo)
set(VELMO_BITMAP_DIR bin/bitmap)
set(VELMO_MSVC_IMPORT_LIBRARY lib/velmo.lib)

install(TARGETS velmo EXPORT velmoTargets
  RUNTIME DESTINATION bin
  ARCHIVE DESTINATION lib)
install(FILES ${velmoMsvcLibrary} DESTINATION lib)
install(FILES ${PROJECT_SOURCE_DIR}/include/velmo.h DESTINATION include)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/bitmap DESTINATION bin)
install(EXPORT velmoTargets NAMESPACE velmo:: DESTINATION ${velmoConfigDirectory})

configure_package_config_file(velmoConfig.cmake.in ${CMAKE_CURRENT_BINARY_DIR}/velmoConfig.cmake
  INSTALL_DESTINATION ${velmoConfigDirectory}
  PATH_VARS VELMO_BITMAP_DIR VELMO_MSVC_IMPORT_LIBRARY)
# Also records the pointer size, so a host of the other size doesn't pick the
# package up; the version that find_package reports then says why.
math(EXPR velmoBits "${CMAKE_SIZEOF_VOID_P} * 8")
set(velmoVersionFile ${CMAKE_CURRENT_BINARY_DIR}/velmoConfigVersion.cmake)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/basicConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
file(READ ${CMAKE_CURRENT_BINARY_DIR}/basicConfigVersion.cmake velmoVersionCheck)
file(CONFIGURE OUTPUT ${velmoVersionFile} @ONLY CONTENT "${velmoVersionCheck}
if(PACKAGE_VERSION_UNSUITABLE AND NOT CMAKE_SIZEOF_VOID_P STREQUAL \"${CMAKE_SIZEOF_VOID_P}\")
  math(EXPR velmoHostBits \"\${CMAKE_SIZEOF_VOID_P} * 8\")
  set(PACKAGE_VERSION \"\${PACKAGE_VERSION}, for ${velmoBits}-bit hosts only; this host is \${velmoHostBits}-bit: use the velmo package built for \${velmoHostBits}-bit Windows\")
endif()
")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/velmoConfig.cmake ${velmoVersionFile}
  DESTINATION ${velmoConfigDirectory})

set(CPACK_PACKAGE_NAME velmo)
set(CPACK_PACKAGE_VENDOR "Marrowby")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Skinned window controls for ${velmoBits}-bit Windows programs")
set(CPACK_GENERATOR ZIP)
# velmo-<version>-win32-i686.zip or velmo-<version>-win64-x86_64.zip
if(velmoBits EQUAL 64)
  set(CPACK_SYSTEM_NAME win64-x86_64)
else()
  set(CPACK_SYSTEM_NAME win32-i686)
endif()
include(CPack)
