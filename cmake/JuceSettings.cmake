# The JUCE configuration every translation unit that includes a JUCE header must share with the
# prebuilt JUCE archive: the same definitions give the same class layouts on both sides.
set(OMBREL_JUCE_VERSION 7.0.5)
set(OMBREL_JUCE_MODULE_NAMES
    juce_core juce_events juce_data_structures juce_graphics juce_gui_basics juce_gui_extra
    juce_audio_basics juce_audio_formats juce_audio_processors)

set(OMBREL_JUCE_DEFINITIONS
    JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
    JUCE_STANDALONE_APPLICATION=0
    JUCE_WEB_BROWSER=0
    JUCE_USE_CURL=0
    JUCE_PLUGINHOST_VST=0
    JUCE_PLUGINHOST_VST3=0
    JUCE_PLUGINHOST_LADSPA=0
    JUCE_PLUGINHOST_LV2=0
    JUCE_PLUGINHOST_AU=0
    JUCE_PLUGINHOST_ARA=0
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_USE_DARK_SPLASH_SCREEN=1
    JUCE_MODAL_LOOPS_PERMITTED=1
    JUCE_USE_FLAC=0
    JUCE_USE_OGGVORBIS=0
    JUCE_USE_MP3AUDIOFORMAT=0
    JUCE_USE_LAME_AUDIO_FORMAT=0
    JUCE_USE_WINDOWS_MEDIA_FORMAT=0
    # JUCE switches its debug-only members (leak detectors) on whenever NDEBUG is absent; _NDEBUG
    # keeps them off in every build type, so debug and sanitizer builds of our code can link the one
    # release archive while our own assert() still works.
    _NDEBUG=1)
foreach(m IN LISTS OMBREL_JUCE_MODULE_NAMES)
  list(APPEND OMBREL_JUCE_DEFINITIONS JUCE_MODULE_AVAILABLE_${m}=1)
endforeach()

if(WIN32)
  # The Windows build links the static libpng and libjpeg that scripts/build-windows-image-libs makes,
  # the MinGW zlib, and the system libraries JUCE's Windows code calls into.
  if(NOT OMBREL_WINDOWS_IMAGE_LIBS)
    message(FATAL_ERROR "OMBREL_WINDOWS_IMAGE_LIBS is not set: build with scripts/build-windows")
  endif()
  set(OMBREL_JUCE_SYSTEM_INCLUDES ${OMBREL_WINDOWS_IMAGE_LIBS}/include)
  set(OMBREL_JUCE_SYSTEM_LIBS
      ${OMBREL_WINDOWS_IMAGE_LIBS}/lib/libpng.a ${OMBREL_WINDOWS_IMAGE_LIBS}/lib/libjpeg.a z
      uuid wsock32 wininet version ole32 ws2_32 oleaut32 imm32 comdlg32 shlwapi rpcrt4 winmm dxgi)
else()
  set(OMBREL_JUCE_SYSTEM_INCLUDES /usr/include/freetype2 /usr/include/libpng16)
  set(OMBREL_JUCE_SYSTEM_LIBS freetype png16 jpeg z pthread dl rt)
endif()
