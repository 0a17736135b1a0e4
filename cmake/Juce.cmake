# Provides the target `juce`: the JUCE modules as one prebuilt static archive plus the include path
# and definitions that consumers must share with it. The archive is built at configure time, once,
# into ${OMBREL_CACHE} keyed by JUCE version, compiler and settings, so clean clones (CI) reuse it.
include(${CMAKE_CURRENT_LIST_DIR}/JuceSettings.cmake)

if(NOT DEFINED OMBREL_CACHE)
  if(DEFINED ENV{OMBREL_CACHE})
    set(OMBREL_CACHE $ENV{OMBREL_CACHE})
  else()
    set(OMBREL_CACHE $ENV{HOME}/.cache/ombrel)
  endif()
endif()
set(JUCE_MODULES_DIR ${OMBREL_CACHE}/juce-${OMBREL_JUCE_VERSION}/usr/share/juce/modules
    CACHE PATH "JUCE modules folder (extracted by scripts/setup)")
if(NOT EXISTS ${JUCE_MODULES_DIR}/juce_core/juce_core.h)
  message(FATAL_ERROR "JUCE modules not found at ${JUCE_MODULES_DIR}: run scripts/setup first")
endif()
if(EXISTS ${JUCE_MODULES_DIR}/juce_audio_plugin_client)
  message(FATAL_ERROR "JUCE's plug-in client module must not be on disk: ${JUCE_MODULES_DIR}/juce_audio_plugin_client")
endif()

file(READ ${CMAKE_CURRENT_LIST_DIR}/JuceSettings.cmake _settings)
file(READ ${CMAKE_CURRENT_LIST_DIR}/juce/CMakeLists.txt _project)
# An instrumented archive is a different archive: the sanitizer flags are part of the key.
set(_juce_flags "${OMBREL_THREAD_SANITIZER_FLAGS}")
string(REPLACE ";" " " _juce_flags "${_juce_flags}")
set(_key_text "${CMAKE_CXX_COMPILER_ID}-${CMAKE_CXX_COMPILER_VERSION}-${CMAKE_CXX_COMPILER}-${_settings}-${_project}${OMBREL_WINDOWS_IMAGE_LIBS}")
if(NOT _juce_flags STREQUAL "")
  string(APPEND _key_text "-${_juce_flags}")
endif()
string(SHA1 _key "${_key_text}")
string(SUBSTRING ${_key} 0 12 _key)
set(_juce_build ${OMBREL_CACHE}/juce-${OMBREL_JUCE_VERSION}-build-${_key})
set(_juce_archive ${_juce_build}/install/lib/libombrel_juce.a)

# Several clones or worktrees may configure at once and share the cache: one builds the archive
# while the others wait, and a work folder left by another clone or by an interrupted build is
# started afresh (CMake refuses a build folder configured from another source path).
if(NOT EXISTS ${_juce_archive})
  file(MAKE_DIRECTORY ${_juce_build})
  file(LOCK ${_juce_build}/.lock TIMEOUT 1800 RESULT_VARIABLE _lock_result)
  if(NOT _lock_result STREQUAL "0")
    message(FATAL_ERROR "Waiting for the JUCE archive build in ${_juce_build} failed: ${_lock_result}")
  endif()
endif()
if(NOT EXISTS ${_juce_archive})
  file(REMOVE_RECURSE ${_juce_build}/work)
  message(STATUS "Building the JUCE archive once into ${_juce_build} (about 90 s on two cores)")
  set(_cross)
  if(CMAKE_TOOLCHAIN_FILE)
    get_filename_component(_toolchain ${CMAKE_TOOLCHAIN_FILE} ABSOLUTE BASE_DIR ${CMAKE_SOURCE_DIR})
    set(_cross -DCMAKE_TOOLCHAIN_FILE=${_toolchain} -DOMBREL_WINDOWS_IMAGE_LIBS=${OMBREL_WINDOWS_IMAGE_LIBS})
  endif()
  execute_process(
      COMMAND ${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR}/juce -B ${_juce_build}/work ${_cross}
              -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER}
              -DJUCE_MODULES_DIR=${JUCE_MODULES_DIR} -DCMAKE_INSTALL_PREFIX=${_juce_build}/install
              "-DCMAKE_CXX_FLAGS=${_juce_flags}"
      RESULT_VARIABLE _rc)
  if(_rc EQUAL 0)
    include(ProcessorCount)
    ProcessorCount(_jobs)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${_juce_build}/work --parallel ${_jobs}
                    RESULT_VARIABLE _rc)
  endif()
  if(_rc EQUAL 0)
    execute_process(COMMAND ${CMAKE_COMMAND} --install ${_juce_build}/work RESULT_VARIABLE _rc)
  endif()
  if(NOT _rc EQUAL 0 OR NOT EXISTS ${_juce_archive})
    message(FATAL_ERROR "Building the JUCE archive failed")
  endif()
endif()
file(LOCK ${_juce_build}/.lock RELEASE)

add_library(juce_archive STATIC IMPORTED GLOBAL)
set_target_properties(juce_archive PROPERTIES IMPORTED_LOCATION ${_juce_archive})
add_library(juce INTERFACE)
target_link_libraries(juce INTERFACE juce_archive ${OMBREL_JUCE_SYSTEM_LIBS})
target_compile_definitions(juce INTERFACE ${OMBREL_JUCE_DEFINITIONS})
target_include_directories(juce SYSTEM INTERFACE ${JUCE_MODULES_DIR} ${OMBREL_JUCE_SYSTEM_INCLUDES})
