#include "host_kit/HostComponentFactory.h"

#include "aax_library/AAX_GUIDs.h"
#include "host_kit/HostCollection.h"
#include "host_kit/HostComponentDescriptor.h"
#include "host_kit/HostEffectDescriptor.h"
#include "host_kit/HostPropertyMap.h"
#include "host_kit/HostServices.h"
#include "host_kit/TestHost.h"

namespace testhost
{

IACFUnknown* HostComponentFactory::Lookup(const acfIID& iid)
{
    if (iid == IID_IACFUnknown || iid == IID_IACFComponentFactory)
        return this;
    return nullptr;
}

ACFRESULT HostComponentFactory::CreateComponent(const acfCLSID& classId, IACFUnknown* outer,
                                                const acfIID& iid, void** out)
{
    Record("CreateComponent", classId, static_cast<const void*>(outer), iid);
    if (out == nullptr)
        return ACF_E_POINTER;
    HostObject* created = nullptr;
    if (classId == AAXCompID_AAXCollection)
        created = Host().Create<HostCollection>();
    else if (classId == AAXCompID_AAXEffectDescriptor)
        created = Host().Create<HostEffectDescriptor>();
    else if (classId == AAXCompID_AAXComponentDescriptor)
        created = Host().Create<HostComponentDescriptor>();
    else if (classId == AAXCompID_AAXPropertyMap)
        created = Host().Create<HostPropertyMap>();
    else if (classId == AAXCompID_AAXHostServices)
        created = Host().Create<HostServices>();
    if (created == nullptr)
    {
        *out = nullptr;
        return ACF_E_NOINTERFACE;
    }
    return created->AsUnknown()->QueryInterface(iid, out);
}

} // namespace testhost
