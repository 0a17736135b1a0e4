#pragma once
// The collection a module's registration fills: its effects, manufacturer and package.

#include "aax_library/AAX_IEffectDescriptor.h"
#include "aax_library/AAX_IPropertyMap.h"
#include "aax_library/AAX_Types.h"

class AAX_ICollection
{
public:
    virtual ~AAX_ICollection() = default;
    // [host thread] everything below.
    // The returned descriptor stays owned by the collection; valid until it is destroyed.
    virtual AAX_IEffectDescriptor* NewDescriptor() = 0;
    virtual AAX_Result AddEffect(const char* effectId, AAX_IEffectDescriptor* descriptor) = 0;
    virtual AAX_Result SetManufacturerName(const char* name) = 0;
    virtual AAX_Result AddPackageName(const char* name) = 0;
    virtual AAX_Result SetPackageVersion(uint32_t version) = 0;
    // The returned map stays owned by the collection; valid until it is destroyed.
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    virtual AAX_Result SetProperties(AAX_IPropertyMap* properties) = 0;
};
