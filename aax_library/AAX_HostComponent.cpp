#include "aax_library/AAX_HostComponent.h"

#include "aax_library/AAX_CACFException.h"
#include "aax_library/AAX_GUIDs.h"

void* AAX_CreateHostComponent(IACFUnknown* host, const acfCLSID& classId, const acfIID& iid)
{
    if (host == nullptr)
        return nullptr;
    void* factoryPointer = nullptr;
    if (host->QueryInterface(IID_IACFComponentFactory, &factoryPointer) != ACF_OK)
        return nullptr;
    if (factoryPointer == nullptr)
        throw AAX_CACFException(ACF_E_POINTER);
    auto* factory = static_cast<IACFComponentFactory*>(factoryPointer);
    void* component = nullptr;
    factory->CreateComponent(classId, nullptr, iid, &component);
    factory->Release();
    return component;
}
