#pragma once
// How the wrappers obtain and give back host interfaces: through the host's component factory or
// by asking a host object directly. Every pointer obtained here is a counted reference.

#include "aax_library/host/IACFUnknown.h"

// [host thread] asks host for its component factory and, only when that succeeds, creates a
// component of classId queried for iid; returns it, or null when the host declines. A host that
// reports success with a null factory breaks the component model: throws
// AAX_CACFException(ACF_E_POINTER). A null host gives null.
void* AAX_CreateHostComponent(IACFUnknown* host, const acfCLSID& classId, const acfIID& iid);

// [any thread] object's interface iid, or null when object is null or declines.
template <class Interface> Interface* AAX_QueryHostInterface(IACFUnknown* object, const acfIID& iid)
{
    if (object == nullptr)
        return nullptr;
    void* result = nullptr;
    object->QueryInterface(iid, &result);
    return static_cast<Interface*>(result);
}

// [any thread] releases a counted host reference once and nulls the holder.
template <class Interface> void AAX_ReleaseHostInterface(Interface*& pointer)
{
    if (pointer != nullptr)
    {
        pointer->Release();
        pointer = nullptr;
    }
}
