#pragma once
// The system loader as the host kit uses it: open a library by path, look up a symbol, close it.
// LoadLibraryA and friends on Windows, dlopen and friends elsewhere.

#include <string>

namespace testhost
{

// [host thread] the library's handle, or null with *error set to the system's reason.
void* OpenSharedLibrary(const std::string& path, std::string* error);
// [any thread] the exported symbol, or null.
void* SharedLibrarySymbol(void* handle, const char* name);
// [host thread]
void CloseSharedLibrary(void* handle);

} // namespace testhost
