#include "effect_bridge/EffectChannelProbe.h"

#include "effect_bridge/EffectLibraryLoading.h"
#include "effect_bridge/HostCallback.h"
#include "effect_bridge/ModuleFile.h"

DeclaredChannels probeDeclaredChannels()
{
    DeclaredChannels declared;
    std::string moduleFileName;
    if (!ownModuleFileName(moduleFileName))
        return declared;
    const EffectLibraryLocation location =
        EffectLibraryLocation::forModuleFile(moduleFileName, platform::kPathSeparator);
    declared.libraryFileName = location.libraryFileName;
    platform::ModuleHandle library = loadEffectLibrary(location, nullptr);
    if (library == nullptr)
        return declared;

    const VstPluginEntry entry = findEffectEntry(library);
    // The effect has no processor: the host callback answers it with neutral values.
    AEffect* effect = entry != nullptr ? entry(&hostCallback) : nullptr;
    if (effect != nullptr && effect->dispatcher != nullptr)
    {
        // Opened first, like every instance: some effects settle their channels only here.
        effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
        declared.known = true;
        declared.inputs = effect->numInputs;
        declared.outputs = effect->numOutputs;
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    }
    platform::FreeLibrary(library);
    return declared;
}
