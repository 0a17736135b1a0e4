#include "host_kit/SharedLibrary.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <algorithm>

namespace testhost
{

#ifdef _WIN32

void* OpenSharedLibrary(const std::string& path, std::string* error)
{
    // A Windows host names its plug-ins with backslashes, and the module reads its own path back
    // as the loader recorded it.
    std::string native = path;
    std::replace(native.begin(), native.end(), '/', '\\');
    HMODULE handle = LoadLibraryA(native.c_str());
    if (handle == nullptr && error != nullptr)
        *error = "cannot open " + path + " (Windows error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void*>(handle);
}

void* SharedLibrarySymbol(void* handle, const char* name)
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void CloseSharedLibrary(void* handle)
{
    FreeLibrary(static_cast<HMODULE>(handle));
}

#else

void* OpenSharedLibrary(const std::string& path, std::string* error)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr && error != nullptr)
    {
        const char* reason = dlerror();
        *error = reason != nullptr ? reason : "cannot open " + path;
    }
    return handle;
}

void* SharedLibrarySymbol(void* handle, const char* name)
{
    return dlsym(handle, name);
}

void CloseSharedLibrary(void* handle)
{
    dlclose(handle);
}

#endif

} // namespace testhost
