#include "aax_library/CACFUnknown.h"

namespace
{
// Every component object alive in this module; ACFCanUnloadNow reports it.
std::atomic<uint32_t> gActiveObjectCount{0};
} // namespace

CACFUnknown::CACFUnknown() : mOuterUnknown(&mPrivateUnknown), mPrivateUnknown(this)
{
    ++gActiveObjectCount;
}

CACFUnknown::~CACFUnknown()
{
    --gActiveObjectCount;
}

uint32_t CACFUnknown::GetActiveObjectCount()
{
    return gActiveObjectCount.load();
}

ACFRESULT CACFUnknown::ConstructHook()
{
    return ACF_OK;
}

void CACFUnknown::FinalReleaseHook() {}

void CACFUnknown::DeleteSelf()
{
    delete this;
}

ACFRESULT CACFUnknown::InternalQueryInterface(const acfIID& iid, void** out)
{
    if (out == nullptr)
        return ACF_E_POINTER;
    if (iid == IID_IACFUnknown)
        return AnswerInterface<IACFUnknown>(&mPrivateUnknown, out);
    *out = nullptr;
    return ACF_E_NOINTERFACE;
}

uint32_t CACFUnknown::InternalAddRef()
{
    return ++mRefCount;
}

uint32_t CACFUnknown::InternalRelease()
{
    // A release at count 0 is the host's mistake; refusing it keeps the count from wrapping to a
    // huge value that no later release could bring back to 0.
    uint32_t current = mRefCount.load();
    do
    {
        if (current == 0)
            return 0;
    } while (!mRefCount.compare_exchange_weak(current, current - 1));

    if (current != 1)
        return current - 1;
    // Only the one release that took the count from 1 to 0 gets here.
    FinalReleaseHook();
    DeleteSelf();
    return 0;
}

ACFRESULT CACFUnknown::PrivateUnknown::QueryInterface(const acfIID& iid, void** out)
{
    return mOwner->InternalQueryInterface(iid, out);
}

uint32_t CACFUnknown::PrivateUnknown::AddRef()
{
    return mOwner->InternalAddRef();
}

uint32_t CACFUnknown::PrivateUnknown::Release()
{
    return mOwner->InternalRelease();
}
