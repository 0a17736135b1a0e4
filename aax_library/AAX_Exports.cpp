// The module's exported entry points, through which the host starts, registers, scans and shuts
// the module down, and the loader's module entry. Every entry point catches everything: no
// exception may unwind into the host.

#include "aax_library/AAX_Exports.h"

#include "aax_library/AAX_CHostServices.h"
#include "aax_library/AAX_GUIDs.h"
#include "aax_library/AAX_ICollection.h"
#include "aax_library/AAX_ModuleInstanceHandle.h"
#include "aax_library/AAX_VCollection.h"
#include "aax_library/CACFUnknown.h"
#include "aax_library/host/AAX_IACFCollection.h"

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#define AAX_ENTRY_POINT extern "C" __declspec(dllexport)
#else
#include <dlfcn.h>
#define AAX_ENTRY_POINT extern "C" __attribute__((visibility("default")))
#endif

namespace
{

// The library version (upper 32 bits) and revision (lower 32 bits) this module is built against.
constexpr uint64_t kAAXSDKVersion = 0x00000201007756BFull;

// The operating system's handle of this module, stored when the process attaches it.
void* gModuleInstanceHandle = nullptr;

} // namespace

void* AAX_GetModuleInstanceHandle()
{
    return gModuleInstanceHandle;
}

// [host thread] Describes the plug-in into the host's collection and hands back the host's
// plug-in definition.
AAX_ENTRY_POINT ACFRESULT ACFRegisterPlugin(IACFUnknown* host, IACFPluginDefinition** out)
{
    try
    {
        AAX_VCollection collection(host);
        const AAX_Result described = GetEffectDescriptions(&collection);
        if (described != AAX_SUCCESS)
            return described;
        if (out == nullptr)
            return AAX_ERROR_NULL_OBJECT;
        *out = nullptr;
        AAX_IACFCollection* hostCollection = collection.GetIUnknown();
        if (hostCollection == nullptr ||
            hostCollection->QueryInterface(IID_IACFPluginDefinition, reinterpret_cast<void**>(out)) != ACF_OK)
            return AAX_ERROR_NULL_OBJECT;
        return AAX_SUCCESS;
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

// [host thread] Components are made only through the factories the description registers.
AAX_ENTRY_POINT ACFRESULT ACFRegisterComponent(IACFUnknown* /*host*/, uint32_t /*index*/, IACFUnknown** out)
{
    try
    {
        if (out != nullptr)
            *out = nullptr;
        return ACF_OK;
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

// [host thread] There is no class factory: objects come from the registered factories.
AAX_ENTRY_POINT ACFRESULT ACFGetClassFactory(IACFUnknown* /*host*/, const acfCLSID& /*classId*/,
                                             const acfIID& /*iid*/, void** out)
{
    try
    {
        if (out != nullptr)
            *out = nullptr;
        return AAX_ERROR_UNIMPLEMENTED;
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

// [host thread] 0 when no component object of this module is alive, else their number.
AAX_ENTRY_POINT ACFRESULT ACFCanUnloadNow(IACFUnknown* /*host*/)
{
    try
    {
        return static_cast<ACFRESULT>(CACFUnknown::GetActiveObjectCount());
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

// [host thread] Keeps the host's services for the library's traces. A second start-up keeps the
// first services; a start-up without a host changes nothing.
AAX_ENTRY_POINT ACFRESULT ACFStartup(IACFUnknown* host)
{
    try
    {
        if (host != nullptr)
            AAX_CHostServices::Set(host);
        return ACF_OK;
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

// [host thread] Gives the host's services back.
AAX_ENTRY_POINT ACFRESULT ACFShutdown(IACFUnknown* /*host*/)
{
    try
    {
        AAX_CHostServices::Set(nullptr);
        return ACF_OK;
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

// [any thread]
AAX_ENTRY_POINT ACFRESULT ACFGetSDKVersion(uint64_t* out)
{
    try
    {
        if (out == nullptr)
            return AAX_ERROR_NULL_OBJECT;
        *out = kAAXSDKVersion;
        return ACF_OK;
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}

#ifdef _WIN32
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/)
{
    if (reason == DLL_PROCESS_ATTACH)
        gModuleInstanceHandle = instance;
    return TRUE;
}
#else
namespace
{
// The loader's module entry on POSIX: the module's handle is its load address.
__attribute__((constructor)) void storeModuleInstanceHandle()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&storeModuleInstanceHandle), &info) != 0)
        gModuleInstanceHandle = info.dli_fbase;
}
} // namespace
#endif
