#include "host_kit/HostEffectDescriptor.h"

#include "aax_library/AAX_GUIDs.h"
#include "host_kit/HostComponentDescriptor.h"
#include "host_kit/HostPropertyMap.h"
#include "host_kit/TestHost.h"

namespace testhost
{

IACFUnknown* HostEffectDescriptor::Lookup(const acfIID& iid)
{
    const Offer offer = Config().effectDescriptor;
    if (iid == IID_IACFUnknown)
        return this;
    if (iid == IID_IAAXEffectDescriptorV1 && offer != Offer::None)
        return this;
    if (iid == IID_IAAXEffectDescriptorV2 && offer == Offer::V2)
        return this;
    return nullptr;
}

AAX_Result HostEffectDescriptor::AddComponent(IACFUnknown* componentDescriptor)
{
    Record("AddComponent", Host().Label(componentDescriptor));
    if (AAX_Result result = Answer("AddComponent"))
        return result;
    mComponents.push_back(Host().Find<HostComponentDescriptor>(componentDescriptor));
    return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::AddName(const char* name)
{
    Record("AddName", name);
    if (AAX_Result result = Answer("AddName"))
        return result;
    mNames.push_back(ToText(name));
    return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::AddCategory(uint32_t category)
{
    Record("AddCategory", category);
    if (AAX_Result result = Answer("AddCategory"))
        return result;
    mCategories.push_back(category);
    return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::AddCategoryBypassParameter(uint32_t category, const char* parameterId)
{
    Record("AddCategoryBypassParameter", category, parameterId);
    return Answer("AddCategoryBypassParameter");
}

AAX_Result HostEffectDescriptor::AddProcPtr(void* proc, int32_t procId)
{
    Record("AddProcPtr", proc, procId);
    if (AAX_Result result = Answer("AddProcPtr"))
        return result;
    mProcPtrs.push_back({proc, procId});
    return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::SetProperties(IACFUnknown* propertyMap)
{
    Record("SetProperties", Host().Label(propertyMap));
    if (AAX_Result result = Answer("SetProperties"))
        return result;
    mProperties = Host().Find<HostPropertyMap>(propertyMap);
    return AAX_SUCCESS;
}

AAX_Result HostEffectDescriptor::AddResourceInfo(int32_t resourceType, const char* info)
{
    Record("AddResourceInfo", resourceType, info);
    return Answer("AddResourceInfo");
}

AAX_Result HostEffectDescriptor::AddMeterDescription(uint32_t meterId, const char* name,
                                                     IACFUnknown* propertyMap)
{
    Record("AddMeterDescription", meterId, name, Host().Label(propertyMap));
    return Answer("AddMeterDescription");
}

AAX_Result HostEffectDescriptor::AddControlMIDINode(uint32_t nodeId, int32_t nodeType, const char* name,
                                                    uint32_t channelMask)
{
    Record("AddControlMIDINode", nodeId, nodeType, name, channelMask);
    return Answer("AddControlMIDINode");
}

} // namespace testhost
