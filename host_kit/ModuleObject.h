#pragma once
// One object the module makes through a create procedure, held as a host holds it: the
// reference from the query for one interface, and whether the host has initialised it. The
// data-model and GUI instances are such objects, each with what surrounds its interface. Never
// copied: a copy would give the host's reference back twice.

#include "aax_library/AAX_Errors.h"
#include "aax_library/AAX_Types.h"
#include "aax_library/host/IACFUnknown.h"
#include "platform/NonCopyable.h"

namespace testhost
{

template <class Interface> class ModuleObject : private NonCopyable
{
public:
    // A null create procedure, a null object or a declined query leave the object absent.
    void Create(AAX_CCreateProc create, const acfIID& iid)
    {
        if (create == nullptr)
            return;
        void* object = create();
        if (object == nullptr)
            return;
        // The factory returns the object's primary interface; a host only ever queries it.
        auto* unknown = static_cast<IACFUnknown*>(object);
        void* wanted = nullptr;
        mQueryResult = unknown->QueryInterface(iid, &wanted);
        if (mQueryResult == ACF_OK && wanted != nullptr)
            mObject = static_cast<Interface*>(wanted);
    }

    bool IsValid() const { return mObject != nullptr; }
    Interface* Get() const { return mObject; }
    Interface* operator->() const { return mObject; }
    bool IsInitialized() const { return mInitialized; }
    ACFRESULT QueryResult() const { return mQueryResult; }
    AAX_Result InitializeResult() const { return mInitializeResult; }

    // [host thread] controller (borrowed) is what the object is initialised with.
    AAX_Result Initialize(IACFUnknown* controller)
    {
        if (mObject == nullptr)
            return AAX_ERROR_NULL_OBJECT;
        mInitializeResult = mObject->Initialize(controller);
        mInitialized = true;
        return mInitializeResult;
    }

    // [host thread]
    AAX_Result Uninitialize()
    {
        if (mObject == nullptr)
            return AAX_ERROR_NULL_OBJECT;
        mInitialized = false;
        return mObject->Uninitialize();
    }

    // [host thread] gives the host's reference back; the object is absent afterwards. The
    // pointer is cleared first so that nothing the release sets off reaches the object again.
    void Release()
    {
        if (mObject == nullptr)
            return;
        Interface* object = mObject;
        mObject = nullptr;
        mInitialized = false;
        object->Release();
    }

private:
    Interface* mObject = nullptr;
    ACFRESULT mQueryResult = ACF_E_UNEXPECTED;
    AAX_Result mInitializeResult = AAX_ERROR_NOT_INITIALIZED;
    bool mInitialized = false;
};

} // namespace testhost
