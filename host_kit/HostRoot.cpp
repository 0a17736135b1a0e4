#include "host_kit/HostRoot.h"

#include "aax_library/AAX_GUIDs.h"
#include "host_kit/HostComponentFactory.h"

namespace testhost
{

ACFRESULT HostRoot::QueryInterface(const acfIID& iid, void** out)
{
    if (iid == IID_IACFComponentFactory && Config().componentFactory == FactoryMode::NullOnSuccess)
    {
        Record("QueryInterface", iid);
        if (out != nullptr)
            *out = nullptr;
        return ACF_OK;
    }
    return DoQueryInterface(iid, out);
}

IACFUnknown* HostRoot::Lookup(const acfIID& iid)
{
    if (iid == IID_IACFUnknown)
        return this;
    if (iid == IID_IACFComponentFactory && Config().componentFactory == FactoryMode::Offered)
        return mFactory;
    return nullptr;
}

} // namespace testhost
