#pragma once
// Forwards the plug-in side's collection calls to the host's collection and owns the effect
// descriptors and property maps it hands out. Lives for one registration call.

#include "aax_library/AAX_ICollection.h"
#include "aax_library/host/AAX_IACFCollection.h"
#include "platform/NonCopyable.h"

#include <memory>
#include <set>

class AAX_VEffectDescriptor;
class AAX_VPropertyMap;

class AAX_VCollection : public AAX_ICollection, private NonCopyable
{
public:
    // [host thread] creates the host collection through the host's component factory; host may be
    // null. Throws AAX_CACFException(ACF_E_POINTER) when the host answers the factory query with
    // success but a null factory.
    explicit AAX_VCollection(IACFUnknown* host);
    ~AAX_VCollection() override;

    AAX_IEffectDescriptor* NewDescriptor() override;
    AAX_Result AddEffect(const char* effectId, AAX_IEffectDescriptor* descriptor) override;
    AAX_Result SetManufacturerName(const char* name) override;
    AAX_Result AddPackageName(const char* name) override;
    AAX_Result SetPackageVersion(uint32_t version) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties(AAX_IPropertyMap* properties) override;

    // The host's first-version collection (borrowed), or null; registration asks it for the
    // plug-in definition once the description is complete.
    AAX_IACFCollection* GetIUnknown() const { return mICollection; }

private:
    IACFUnknown* mUnknown = nullptr;
    AAX_IACFCollection* mICollection = nullptr;
    // Children handed out by New*: owned here, ordered by address, deleted before the host
    // references are released.
    std::set<std::unique_ptr<AAX_VEffectDescriptor>> mEffectDescriptors;
    std::set<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};
