# OMBREL_SANITIZE instruments every target of this build (not the prebuilt JUCE archive) with the
# address and undefined-behaviour sanitizers; shared libraries loaded at run time are built with the
# same flags, so the whole process under test reports through one runtime.
if(OMBREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
