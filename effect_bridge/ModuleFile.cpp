#include "effect_bridge/ModuleFile.h"

#include "platform/PlatformCalls.h"

bool ownModuleFileName(std::string& fileName)
{
    platform::ModuleHandle module = nullptr;
    const void* addressInsideModule = reinterpret_cast<const void*>(&ownModuleFileName);
    if (!platform::GetModuleHandleExA(platform::kModuleHandleFromAddress |
                                          platform::kModuleHandleUnchangedRefcount,
                                      addressInsideModule, &module))
        return false;
    char name[kModuleFileNameSize] = {};
    platform::GetModuleFileNameA(module, name, kModuleFileNameSize);
    name[kModuleFileNameSize - 1] = '\0';
    fileName = name;
    return true;
}
