# A shared library laid out in a bundle folder under the exact file name a host or the module looks
# for (no prefix or suffix added), with its own symbols hidden.
function(ombrel_bundle_library target file_name folder)
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME "${file_name}"
    PREFIX ""
    SUFFIX ""
    LIBRARY_OUTPUT_DIRECTORY ${folder}
    RUNTIME_OUTPUT_DIRECTORY ${folder}
    ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/lib
    POSITION_INDEPENDENT_CODE ON
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
endfunction()
