# Windows release binaries. The same commit builds the same bytes in any
# folder: no link time stamp in the PE header, no source or build path in the
# code or its debug information.
enable_language(RC)
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
                    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>")
add_link_options(-Wl,--no-insert-timestamp)

set(marrowbyVersionTemplate ${CMAKE_CURRENT_LIST_DIR}/version.rc.in)
set(marrowbyStrippedDirectory ${CMAKE_BINARY_DIR}/stripped)
file(MAKE_DIRECTORY ${marrowbyStrippedDirectory})

# marrowby_release_binary(TARGET DESCRIPTION PRODUCT COMPONENT): gives the
# DLL or program a version resource and, after each link, a stripped copy in
# stripped/ that points gdb to its debug information in NAME.debug beside it.
# Install ships the stripped copy in COMPONENT, the debug file in
# COMPONENT_debug; the build folder's own binary keeps its symbols.
function(marrowby_release_binary target description product component)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL SHARED_LIBRARY)
    set(versionFileType VFT_DLL)
    set(versionFileName ${target}${CMAKE_SHARED_LIBRARY_SUFFIX})
  else()
    set(versionFileType VFT_APP)
    set(versionFileName ${target}${CMAKE_EXECUTABLE_SUFFIX})
  endif()
  set(versionTarget ${target})
  set(versionDescription "${description}")
  set(versionProduct "${product}")
  set(resource ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${marrowbyVersionTemplate} ${resource} @ONLY)
  target_sources(${target} PRIVATE ${resource})

  # objcopy stamps the PE header with the time unless SOURCE_DATE_EPOCH says
  # otherwise; 0, as the linker leaves it.
  set(stripped ${marrowbyStrippedDirectory}/${versionFileName})
  set(objcopy ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_OBJCOPY})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${objcopy} --only-keep-debug $<TARGET_FILE:${target}> ${stripped}.debug
    COMMAND ${objcopy} --strip-all --add-gnu-debuglink=${versionFileName}.debug $<TARGET_FILE:${target}> ${stripped}
    WORKING_DIRECTORY ${marrowbyStrippedDirectory}
    VERBATIM)
  install(PROGRAMS ${stripped} DESTINATION bin COMPONENT ${component})
  install(FILES ${stripped}.debug DESTINATION bin COMPONENT ${component}_debug)
endfunction()
