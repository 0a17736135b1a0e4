#pragma once
// The plug-in module's own file, which everything the bundle carries beside it is found from: the
// effect library and the identity file.

#include <cstdint>
#include <string>

// The most bytes of the module's file name that are read, terminator included.
constexpr uint32_t kModuleFileNameSize = 1024;

// [any thread] Sets fileName to the file of the module this code is linked into, as the system
// names it (cut to kModuleFileNameSize - 1 bytes). False when the system cannot find the module
// from an address inside it; platform::GetLastError then says why, and fileName is left alone.
bool ownModuleFileName(std::string& fileName);
