# Warnings for our own code; JUCE's headers come in as system headers and stay quiet.
add_compile_options(-Wall -Wextra)
if(OMBREL_WERROR)
  add_compile_options(-Werror)
endif()
