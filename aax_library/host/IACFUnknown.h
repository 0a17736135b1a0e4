#pragma once
// The root of the host's component model: three operations, no virtual destructor.

#include "aax_library/AAX_Types.h"

class IACFUnknown
{
public:
    // [any thread] on success *out holds a counted reference to the requested interface.
    virtual ACFRESULT QueryInterface(const acfIID& iid, void** out) = 0;
    // [any thread] returns the new reference count.
    virtual uint32_t AddRef() = 0;
    // [any thread] returns the new reference count; at 0 the object is gone.
    virtual uint32_t Release() = 0;

protected:
    ~IACFUnknown() = default;
};

// The plug-in definition the host hands back at registration; the module only passes it through.
class IACFPluginDefinition : public IACFUnknown
{
protected:
    ~IACFPluginDefinition() = default;
};

// The host's component factory (interface position 3).
class IACFComponentFactory : public IACFUnknown
{
public:
    // [host thread] creates a host component of the given class and queries it for iid.
    virtual ACFRESULT CreateComponent(const acfCLSID& classId, IACFUnknown* outer, const acfIID& iid,
                                      void** out) = 0;

protected:
    ~IACFComponentFactory() = default;
};
