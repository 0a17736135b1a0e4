# What every target of the Windows build shares: the C and C++ runtimes linked statically, so the
# module, the effect and the programs need no DLL beyond the system's, and the large object format
# that translation units including JUCE's headers can need.
add_compile_options(-Wa,-mbig-obj)
add_link_options(-static -static-libgcc -static-libstdc++)

# Programs and tests of this build run under Wine, each in a fresh copy of a cached prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run CACHE FILEPATH
    "Runs a Windows program of this build" FORCE)

# GoogleTest for MinGW, built from the sources Debian's libgtest-dev ships (its targets come with
# the GTest:: names).
if(OMBREL_BUILD_TESTS AND EXISTS /usr/src/googletest/CMakeLists.txt)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
