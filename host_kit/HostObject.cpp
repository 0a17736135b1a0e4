#include "host_kit/HostObject.h"

#include "host_kit/TestHost.h"

namespace testhost
{

HostObject::HostObject(TestHost& host, std::string interfaceName)
    : mHost(host), mInterfaceName(std::move(interfaceName)), mId(host.NextObjectId())
{
}

ACFRESULT HostObject::DoQueryInterface(const acfIID& iid, void** out)
{
    Record("QueryInterface", iid);
    if (out == nullptr)
        return ACF_E_POINTER;
    IACFUnknown* found = Lookup(iid);
    *out = found;
    if (found == nullptr)
        return ACF_E_NOINTERFACE;
    found->AddRef();
    return ACF_OK;
}

uint32_t HostObject::DoAddRef()
{
    return static_cast<uint32_t>(++mAddRefs - mReleases.load());
}

uint32_t HostObject::DoRelease()
{
    int releases = mReleases.load();
    do
    {
        if (mAddRefs.load() - releases <= 0)
        {
            ++mOverReleases;
            return 0;
        }
    } while (!mReleases.compare_exchange_weak(releases, releases + 1));
    return static_cast<uint32_t>(mAddRefs.load() - (releases + 1));
}

AAX_Result HostObject::Answer(const char* operation) const
{
    // Checked before any text is built from the names: the transport answers on the audio thread,
    // where the host must not allocate.
    if (Config().results.empty())
        return AAX_SUCCESS;
    return Config().ResultOf(mInterfaceName, operation);
}

const HostConfig& HostObject::Config() const
{
    return mHost.config;
}

bool HostObject::Logging() const
{
    return mHost.Log().IsEnabled();
}

void HostObject::RecordCall(Call call)
{
    mHost.Log().Add(std::move(call));
}

} // namespace testhost
