#pragma once
// The host's component factory: makes the description objects and host services on request.

#include "host_kit/HostObject.h"

namespace testhost
{

class HostComponentFactory : public IACFComponentFactory, public HostObject
{
public:
    explicit HostComponentFactory(TestHost& host) : HostObject(host, "ComponentFactory") {}
    TESTHOST_IACFUNKNOWN()

    // Makes a new object of the class and queries it for iid; the object answers according to
    // the versions the host offers. An unknown class answers ACF_E_NOINTERFACE.
    ACFRESULT CreateComponent(const acfCLSID& classId, IACFUnknown* outer, const acfIID& iid,
                              void** out) override;

protected:
    IACFUnknown* Lookup(const acfIID& iid) override;
};

} // namespace testhost
