# Installs velmo for host programs, the velmo component of cmake/packaging.cmake:
#   bin/velmo.dll          the library, stripped; bin/velmo.dll.debug, its debug
#                          information, is in velmo_debug
#   bin/bitmap/            the theme, found beside velmo.dll from any current
#                          directory; a bitmap/ in the current one comes first;
#                          bin/bitmap/2x/ the same drawn at twice the size;
#                          bin/bitmap/dark/ (and its 2x/) the dark theme
#   bin/themes/slate/      the slate theme folder, which useTheme(L"slate") names
#   bin/themecheck.exe     checks a theme folder; bin/themecheck.exe.debug is in velmo_debug
#   lib/libvelmo.dll.a     the import library for MinGW hosts
#   lib/velmo.lib          the same in Microsoft's format, for MSVC-compatible hosts
#   include/velmo.h        the public header, for C and C++
#   lib/cmake/velmo/       find_package(velmo): imported target velmo::velmo and
#                          velmo_BITMAP_DIR; only for hosts of the same pointer size
#   lib/pkgconfig/velmo.pc pkg-config's flags for the header and import library
include(CMakePackageConfigHelpers)

set(velmoConfigDirectory lib/cmake/velmo)
set(VELMO_BITMAP_DIR bin/bitmap)
set(VELMO_MSVC_IMPORT_LIBRARY lib/velmo.lib)

# The exported target names bin/velmo.dll, where marrowby_release_binary puts
# the stripped copy; the unstripped one is installed only when asked for.
install(TARGETS velmo EXPORT velmoTargets
  RUNTIME DESTINATION bin COMPONENT velmo_unstripped EXCLUDE_FROM_ALL
  ARCHIVE DESTINATION lib COMPONENT velmo)
install(FILES ${velmoMsvcLibrary} DESTINATION lib COMPONENT velmo)
install(FILES ${PROJECT_SOURCE_DIR}/include/velmo.h DESTINATION include COMPONENT velmo)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/bitmap ${PROJECT_SOURCE_DIR}/themes DESTINATION bin COMPONENT velmo)
install(EXPORT velmoTargets NAMESPACE velmo:: DESTINATION ${velmoConfigDirectory} COMPONENT velmo)

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
  DESTINATION ${velmoConfigDirectory} COMPONENT velmo)

# Paths relative to the .pc file's own folder, so an unpacked zip works wherever it lies.
configure_file(velmo.pc.in ${CMAKE_CURRENT_BINARY_DIR}/velmo.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/velmo.pc DESTINATION lib/pkgconfig COMPONENT velmo)

