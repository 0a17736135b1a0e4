# Warnings for our own code; JUCE's headers come in as system headers and stay quiet.
add_compile_options(-Wall -Wextra)
if(OMBREL_WERROR)
  add_compile_options(-Werror)
endif()
# In a batched compile GCC takes every source after the batch's first for a header, and warns that a
# test fixture in a source's anonymous namespace gives the test classes internal linkage: true and
# harmless there, since each source's tests stay in its batch.
if(CMAKE_UNITY_BUILD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wno-subobject-linkage)
endif()
