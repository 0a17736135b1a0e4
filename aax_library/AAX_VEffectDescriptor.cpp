#include "aax_library/AAX_VEffectDescriptor.h"

#include "aax_library/AAX_GUIDs.h"
#include "aax_library/AAX_HostComponent.h"
#include "aax_library/AAX_VComponentDescriptor.h"
#include "aax_library/AAX_VPropertyMap.h"

#include <memory>

namespace
{
// The host sees its own component, never the wrapper; anything that is not a wrapper passes as null.
IACFUnknown* HostComponent(AAX_IComponentDescriptor* component)
{
    auto* wrapper = dynamic_cast<AAX_VComponentDescriptor*>(component);
    return wrapper != nullptr ? wrapper->GetIUnknown() : nullptr;
}
} // namespace

AAX_VEffectDescriptor::AAX_VEffectDescriptor(IACFUnknown* host)
{
    mIEffectDescriptor = static_cast<AAX_IACFEffectDescriptor*>(
        AAX_CreateHostComponent(host, AAXCompID_AAXEffectDescriptor, IID_IAAXEffectDescriptorV1));
    mIEffectDescriptorV2 =
        AAX_QueryHostInterface<AAX_IACFEffectDescriptor_V2>(mIEffectDescriptor, IID_IAAXEffectDescriptorV2);
    // Kept last, so that a throwing factory step above leaves no reference behind.
    mUnknown = host;
    if (mUnknown != nullptr)
        mUnknown->AddRef();
}

AAX_VEffectDescriptor::~AAX_VEffectDescriptor()
{
    mComponentDescriptors.clear();
    mPropertyMaps.clear();
    AAX_ReleaseHostInterface(mIEffectDescriptor);
    AAX_ReleaseHostInterface(mIEffectDescriptorV2);
    AAX_ReleaseHostInterface(mUnknown);
}

AAX_IComponentDescriptor* AAX_VEffectDescriptor::NewComponentDescriptor()
{
    auto component = std::make_unique<AAX_VComponentDescriptor>(mUnknown);
    AAX_VComponentDescriptor* result = component.get();
    mComponentDescriptors.insert(std::move(component));
    return result;
}

AAX_IPropertyMap* AAX_VEffectDescriptor::NewPropertyMap()
{
    auto map = std::make_unique<AAX_VPropertyMap>(mUnknown);
    AAX_VPropertyMap* result = map.get();
    mPropertyMaps.insert(std::move(map));
    return result;
}

AAX_Result AAX_VEffectDescriptor::AddComponent(AAX_IComponentDescriptor* component)
{
    if (mIEffectDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIEffectDescriptor->AddComponent(HostComponent(component));
}

AAX_Result AAX_VEffectDescriptor::AddName(const char* name)
{
    if (mIEffectDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIEffectDescriptor->AddName(name);
}

AAX_Result AAX_VEffectDescriptor::AddCategory(uint32_t category)
{
    if (mIEffectDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIEffectDescriptor->AddCategory(category);
}

AAX_Result AAX_VEffectDescriptor::AddCategoryBypassParameter(uint32_t category, AAX_CParamID parameterId)
{
    if (mIEffectDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIEffectDescriptor->AddCategoryBypassParameter(category, parameterId);
}

AAX_Result AAX_VEffectDescriptor::AddProcPtr(void* proc, AAX_CProcPtrID procId)
{
    if (mIEffectDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIEffectDescriptor->AddProcPtr(proc, procId);
}

AAX_Result AAX_VEffectDescriptor::SetProperties(AAX_IPropertyMap* properties)
{
    if (mIEffectDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIEffectDescriptor->SetProperties(AAX_VPropertyMap::HostMapOf(properties));
}

AAX_Result AAX_VEffectDescriptor::AddResourceInfo(AAX_EResourceType type, const char* info)
{
    if (mIEffectDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIEffectDescriptor->AddResourceInfo(type, info);
}

AAX_Result AAX_VEffectDescriptor::AddMeterDescription(AAX_CTypeID meterId, const char* name,
                                                      AAX_IPropertyMap* properties)
{
    if (mIEffectDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIEffectDescriptor->AddMeterDescription(meterId, name, AAX_VPropertyMap::HostMapOf(properties));
}

AAX_Result AAX_VEffectDescriptor::AddControlMIDINode(AAX_CTypeID nodeId, AAX_EMIDINodeType nodeType,
                                                     const char* name, uint32_t channelMask)
{
    if (mIEffectDescriptorV2 == nullptr)
        return AAX_ERROR_UNIMPLEMENTED;
    return mIEffectDescriptorV2->AddControlMIDINode(nodeId, nodeType, name, channelMask);
}
