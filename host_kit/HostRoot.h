#pragma once
// The host object the module receives at start-up and registration: it answers for the host's
// component factory (or declines, or breaks the model, as configured).

#include "host_kit/HostObject.h"

namespace testhost
{

class HostComponentFactory;

class HostRoot : public IACFUnknown, public HostObject
{
public:
    HostRoot(TestHost& host, HostComponentFactory* factory) : HostObject(host, "Host"), mFactory(factory) {}

    ACFRESULT QueryInterface(const acfIID& iid, void** out) override;
    uint32_t AddRef() override { return DoAddRef(); }
    uint32_t Release() override { return DoRelease(); }
    IACFUnknown* AsUnknown() override { return this; }

protected:
    IACFUnknown* Lookup(const acfIID& iid) override;

private:
    HostComponentFactory* mFactory; // borrowed: owned by the TestHost
};

} // namespace testhost
