# OMBREL_FUZZ builds the tree for the libFuzzer targets of tests/fuzz (clang only): every target of
# this build gets libFuzzer's coverage instrumentation and the address sanitizer, so that the module
# and the example effect a target loads at run time are explored as deeply as the target's own code.
# The prebuilt JUCE archive stays as it is: the saved data is read by our code, not by JUCE's.
if(OMBREL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "OMBREL_FUZZ needs clang (libFuzzer comes with it): -DCMAKE_CXX_COMPILER=clang++")
  endif()
  if(OMBREL_SANITIZE OR OMBREL_SANITIZE_THREAD)
    message(FATAL_ERROR "OMBREL_FUZZ brings its own sanitizer and cannot share a build with another")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer)
  # Shared libraries take the sanitizer's runtime from the fuzzer that loads them.
  add_link_options(-fsanitize=address)
endif()
