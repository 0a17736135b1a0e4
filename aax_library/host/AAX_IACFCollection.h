#pragma once
// The host's collection: what a module's registration fills with its effects.

#include "aax_library/host/IACFUnknown.h"

class AAX_IACFCollection : public IACFUnknown
{
public:
    // Positions 3 to 6 belong to the host and are never called by the module.
    virtual AAX_Result Reserved3() = 0;
    virtual AAX_Result Reserved4() = 0;
    virtual AAX_Result Reserved5() = 0;
    virtual AAX_Result Reserved6() = 0;

    // [host thread] effectDescriptor is the host's first-version effect descriptor (borrowed).
    virtual AAX_Result AddEffect(const char* effectId, IACFUnknown* effectDescriptor) = 0;
    // [host thread]
    virtual AAX_Result SetManufacturerName(const char* name) = 0;
    // [host thread]
    virtual AAX_Result AddPackageName(const char* name) = 0;
    // [host thread]
    virtual AAX_Result SetPackageVersion(uint32_t version) = 0;
    // [host thread] propertyMap is the host's first-version property map (borrowed).
    virtual AAX_Result SetProperties(IACFUnknown* propertyMap) = 0;

protected:
    ~AAX_IACFCollection() = default;
};
