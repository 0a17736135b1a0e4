#pragma once
// Forwards the plug-in side's effect-descriptor calls to the host's effect descriptor and owns the
// component descriptors and property maps it hands out.

#include "aax_library/AAX_IEffectDescriptor.h"
#include "aax_library/host/AAX_IACFEffectDescriptor.h"
#include "platform/NonCopyable.h"

#include <memory>
#include <set>

class AAX_VComponentDescriptor;
class AAX_VPropertyMap;

class AAX_VEffectDescriptor : public AAX_IEffectDescriptor, private NonCopyable
{
public:
    // [host thread] creates the host descriptor through the host's component factory; host may be null.
    explicit AAX_VEffectDescriptor(IACFUnknown* host);
    ~AAX_VEffectDescriptor() override;

    AAX_IComponentDescriptor* NewComponentDescriptor() override;
    AAX_Result AddComponent(AAX_IComponentDescriptor* component) override;
    AAX_Result AddName(const char* name) override;
    AAX_Result AddCategory(uint32_t category) override;
    AAX_Result AddCategoryBypassParameter(uint32_t category, AAX_CParamID parameterId) override;
    AAX_Result AddProcPtr(void* proc, AAX_CProcPtrID procId) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties(AAX_IPropertyMap* properties) override;
    AAX_Result AddResourceInfo(AAX_EResourceType type, const char* info) override;
    AAX_Result AddMeterDescription(AAX_CTypeID meterId, const char* name,
                                   AAX_IPropertyMap* properties) override;
    AAX_Result AddControlMIDINode(AAX_CTypeID nodeId, AAX_EMIDINodeType nodeType, const char* name,
                                  uint32_t channelMask) override;

    // The host's first-version descriptor (borrowed), or null.
    AAX_IACFEffectDescriptor* GetIUnknown() const { return mIEffectDescriptor; }

private:
    IACFUnknown* mUnknown = nullptr;
    AAX_IACFEffectDescriptor* mIEffectDescriptor = nullptr;
    AAX_IACFEffectDescriptor_V2* mIEffectDescriptorV2 = nullptr;
    // Children handed out by New*: owned here, ordered by address, deleted before the host
    // references are released.
    std::set<std::unique_ptr<AAX_VComponentDescriptor>> mComponentDescriptors;
    std::set<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};
