#pragma once
// Loading the effect library from where the module's location says it lies, and finding its
// entry: shared by the processor, which creates the effect it hosts, and the description, which
// asks an effect how many channels it declares.

#include "effect_bridge/EffectLibraryLocation.h"
#include "platform/PlatformCalls.h"
#include "vst2/Vst2Interface.h"

#include <functional>

// [host thread] Loads the library at location. The process's search directory is set to
// location.dllDirectory for the load only and then put back as it was, since it belongs to the
// whole process (the host, other plug-ins). onDirectoryFailure runs, with the system's last error
// still set, when the directory cannot be set; the load is tried all the same. Null when the
// library does not load (platform::GetLastError says why).
platform::ModuleHandle loadEffectLibrary(const EffectLibraryLocation& location,
                                         const std::function<void()>& onDirectoryFailure);

// [host thread] The library's VST 2 entry: "main", else "Main", else "VSTPluginMain"; null when it
// exports none of them.
VstPluginEntry findEffectEntry(platform::ModuleHandle library);
