#include "effect_bridge/EffectLibraryLoading.h"

#include <cstdint>
#include <string>

namespace
{

// The process's DLL directory as it stands, "" when none is set.
std::string dllDirectory()
{
    const uint32_t needed = platform::GetDllDirectoryA(0, nullptr);
    if (needed <= 1)
        return {};
    std::string directory(needed, '\0');
    const uint32_t length = platform::GetDllDirectoryA(needed, directory.data());
    directory.resize(length < needed ? length : 0);
    return directory;
}

} // namespace

platform::ModuleHandle loadEffectLibrary(const EffectLibraryLocation& location,
                                         const std::function<void()>& onDirectoryFailure)
{
    const std::string previousDirectory = dllDirectory();
    const bool directorySet = platform::SetDllDirectoryA(location.dllDirectory.c_str());
    if (!directorySet && onDirectoryFailure)
        onDirectoryFailure();
    platform::ModuleHandle library = platform::LoadLibraryA(location.libraryPath.c_str());
    if (directorySet)
        platform::SetDllDirectoryA(previousDirectory.empty() ? nullptr : previousDirectory.c_str());
    return library;
}

VstPluginEntry findEffectEntry(platform::ModuleHandle library)
{
    void* entry = platform::GetProcAddress(library, kVstEntryName);
    if (entry == nullptr)
        entry = platform::GetProcAddress(library, kVstAlternativeEntryName);
    if (entry == nullptr)
        entry = platform::GetProcAddress(library, kVstStandardEntryName);
    return reinterpret_cast<VstPluginEntry>(entry);
}
