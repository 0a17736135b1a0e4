// The processor's loading step: the effect library beside the module, its entry and the effect.

#include "effect_bridge/EffectLibraryLoading.h"
#include "effect_bridge/ModuleFile.h"
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

} // namespace

void QuennetAudioProcessor::showLoaderMessage(const char* text)
{
    platform::MessageBoxA(nullptr, text, "", platform::kMessageBoxOk);
}

bool QuennetAudioProcessor::loadEffect()
{
    effect = nullptr;
    char message[kMessageSize];

    // Without the module's own file the library is looked for under its default name alone.
    EffectLibraryLocation location;
    std::string moduleFileName;
    if (!ownModuleFileName(moduleFileName))
    {
        std::snprintf(message, sizeof(message), kGetModuleFailedMessage,
                      static_cast<int>(platform::GetLastError()));
        showLoaderMessage(message);
        library = platform::LoadLibraryA(location.libraryPath.c_str());
    }
    else
    {
        location = EffectLibraryLocation::forModuleFile(moduleFileName, platform::kPathSeparator);
        library = loadEffectLibrary(location,
                                    [&]
                                    {
                                        std::snprintf(message, sizeof(message), kSetDllDirectoryFailedMessage,
                                                      static_cast<int>(platform::GetLastError()));
                                        showLoaderMessage(message);
                                    });
    }
    if (library == nullptr)
    {
        std::snprintf(message, sizeof(message), kCantLoadMessage, location.libraryFileName.c_str(),
                      static_cast<int>(platform::GetLastError()));
        showLoaderMessage(message);
        return false;
    }

    entryFunction = findEffectEntry(library);
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
