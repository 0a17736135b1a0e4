// The processor's loading step: the effect library beside the module, its entry and the effect.

#include "effect_bridge/EffectLibraryLocation.h"
#include "effect_bridge/QuennetAudioProcessor.h"

#include <cstdio>
#include <string>

namespace
{

// The loader's messages; saved support answers and users' reports quote them, so they never change.
constexpr const char* kGetModuleFailedMessage = "Get module failed err=%d";
constexpr const char* kSetDllDirectoryFailedMessage = "SetDllDirectory failed err=%d";
constexpr const char* kCantLoadMessage = "Cant Load %s code=%d";
constexpr const char* kCoreLibFailedMessage = "Plug-in core lib failed to load.";
constexpr size_t kMessageSize = 256;
constexpr uint32_t kModuleFileNameSize = 1024;

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

void QuennetAudioProcessor::showLoaderMessage(const char* text)
{
    platform::MessageBoxA(nullptr, text, "", platform::kMessageBoxOk);
}

bool QuennetAudioProcessor::loadEffect()
{
    effect = nullptr;
    char message[kMessageSize];
    std::string libraryPath;

    platform::ModuleHandle module = nullptr;
    // The search path belongs to the whole process (the host, other plug-ins): it is set only for
    // loading the effect and then put back as it was.
    std::string previousDirectory;
    bool directorySet = false;
    const void* addressInsideModule = reinterpret_cast<const void*>(&hostCallback);
    if (!platform::GetModuleHandleExA(platform::kModuleHandleFromAddress |
                                          platform::kModuleHandleUnchangedRefcount,
                                      addressInsideModule, &module))
    {
        std::snprintf(message, sizeof(message), kGetModuleFailedMessage,
                      static_cast<int>(platform::GetLastError()));
        showLoaderMessage(message);
    }
    else
    {
        char moduleFileName[kModuleFileNameSize] = {};
        platform::GetModuleFileNameA(module, moduleFileName, kModuleFileNameSize);
        moduleFileName[kModuleFileNameSize - 1] = '\0';
        const EffectLibraryLocation location =
            EffectLibraryLocation::forModuleFile(moduleFileName, platform::kPathSeparator);
        libraryPath = location.libraryPath;
        previousDirectory = dllDirectory();
        directorySet = platform::SetDllDirectoryA(location.dllDirectory.c_str());
        if (!directorySet)
        {
            std::snprintf(message, sizeof(message), kSetDllDirectoryFailedMessage,
                          static_cast<int>(platform::GetLastError()));
            showLoaderMessage(message);
        }
    }

    library = platform::LoadLibraryA(libraryPath.c_str());
    if (directorySet)
        platform::SetDllDirectoryA(previousDirectory.empty() ? nullptr : previousDirectory.c_str());
    if (library == nullptr)
    {
        std::snprintf(message, sizeof(message), kCantLoadMessage, kEffectLibraryFileName,
                      static_cast<int>(platform::GetLastError()));
        showLoaderMessage(message);
        return false;
    }

    void* entry = platform::GetProcAddress(library, kVstEntryName);
    if (entry == nullptr)
        entry = platform::GetProcAddress(library, kVstAlternativeEntryName);
    if (entry == nullptr)
        entry = platform::GetProcAddress(library, kVstStandardEntryName);
    entryFunction = reinterpret_cast<VstPluginEntry>(entry);
    if (entryFunction != nullptr)
        effect = entryFunction(&hostCallback);
    if (effect == nullptr)
    {
        // The library stays loaded until destruction.
        showLoaderMessage(kCoreLibFailedMessage);
        return false;
    }
    effect->resvd1 = reinterpret_cast<intptr_t>(this);
    // Every VST 2 host opens the effect once before configuring it; many effects build their
    // processing objects only here and stay inert without it.
    dispatch(effOpen);
    return true;
}
