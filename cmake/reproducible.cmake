# MinGW builds give the same bytes from any folder at any time, so that anyone can rebuild a
# release from its commit and compare it with the published checksums: the linker writes no
# time into the PE header, and the compiler writes "." instead of the absolute source and
# build folders wherever a path lands in an object (__FILE__, debug information). The build
# folder comes last: it lies inside the source folder for the presets, and GCC applies the last
# map that matches. windres takes no such option, and its resources hold no paths.
if(MINGW)
  add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.>"
                      "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}=.>")
  add_link_options(-Wl,--no-insert-timestamp)
endif()
