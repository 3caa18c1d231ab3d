# Windows release binaries. The same commit builds the same bytes in any
# folder: no link time stamp in the PE header, no source or build path in the
# code or its debug information.
enable_language(RC)
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
                    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>")
add_link_options(-Wl,--no-insert-timestamp)

