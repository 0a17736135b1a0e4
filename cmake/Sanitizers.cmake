# OMBREL_SANITIZE instruments every target of this build (not the prebuilt JUCE archive) with the
# address and undefined-behaviour sanitizers; shared libraries loaded at run time are built with the
# same flags, so the whole process under test reports through one runtime.
if(OMBREL_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# OMBREL_SANITIZE_THREAD instruments every target, and the JUCE archive built for this setting, with
# the thread sanitizer: JUCE's own locks and atomics then order our accesses as they really do.
if(OMBREL_SANITIZE_THREAD)
  if(OMBREL_SANITIZE)
    message(FATAL_ERROR "The thread sanitizer cannot share a build with the address sanitizer")
  endif()
  set(OMBREL_THREAD_SANITIZER_FLAGS -fsanitize=thread -fno-omit-frame-pointer)
  add_compile_options(${OMBREL_THREAD_SANITIZER_FLAGS})
  add_link_options(-fsanitize=thread)
endif()
