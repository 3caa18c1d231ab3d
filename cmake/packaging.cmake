# cpack's zips, four per flavour (SYSTEM is win32-i686 or win64-x86_64):
#   velmo-VERSION-SYSTEM.zip          the library for hosts, with gallery.exe
#   velmo-VERSION-SYSTEM-debug.zip    bin/velmo.dll.debug and bin/gallery.exe.debug
#   client-VERSION-SYSTEM.zip         bin/client.exe and bin/client.txt
#   client-VERSION-SYSTEM-debug.zip   bin/client.exe.debug
# The zips hold bin/, lib/ and include/ with no folder above them, so a debug
# zip unpacked where its package was puts each file beside its binary.
math(EXPR packageBits "${CMAKE_SIZEOF_VOID_P} * 8")
set(CPACK_PACKAGE_NAME velmo)
set(CPACK_PACKAGE_VENDOR "Marrowby")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Skinned window controls for ${packageBits}-bit Windows programs")
set(CPACK_GENERATOR ZIP)
if(packageBits EQUAL 64)
  set(CPACK_SYSTEM_NAME win64-x86_64)
else()
  set(CPACK_SYSTEM_NAME win32-i686)
endif()
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL velmo velmo_debug client client_debug)
foreach(component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${component} componentVariable)
  string(REGEX REPLACE "_debug$" "" packageName ${component})
  string(REGEX MATCH "_debug$" debugSuffix ${component})
  string(REPLACE "_" "-" debugSuffix "${debugSuffix}")
  set(CPACK_ARCHIVE_${componentVariable}_FILE_NAME
      ${packageName}-${PROJECT_VERSION}-${CPACK_SYSTEM_NAME}${debugSuffix})
endforeach()
include(CPack)
