#pragma once
// One effect as the plug-in side describes it. Owned by the collection wrapper.

#include "aax_library/AAX_IComponentDescriptor.h"
#include "aax_library/AAX_IPropertyMap.h"
#include "aax_library/AAX_Types.h"

class AAX_IEffectDescriptor
{
public:
    virtual ~AAX_IEffectDescriptor() = default;
    // [host thread] everything below.
    // The returned descriptor stays owned by this one; valid until it is destroyed.
    virtual AAX_IComponentDescriptor* NewComponentDescriptor() = 0;
    virtual AAX_Result AddComponent(AAX_IComponentDescriptor* component) = 0;
    virtual AAX_Result AddName(const char* name) = 0;
    virtual AAX_Result AddCategory(uint32_t category) = 0;
    virtual AAX_Result AddCategoryBypassParameter(uint32_t category, AAX_CParamID parameterId) = 0;
    virtual AAX_Result AddProcPtr(void* proc, AAX_CProcPtrID procId) = 0;
    // The returned map stays owned by this descriptor; valid until it is destroyed.
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    virtual AAX_Result SetProperties(AAX_IPropertyMap* properties) = 0;
    virtual AAX_Result AddResourceInfo(AAX_EResourceType type, const char* info) = 0;
    virtual AAX_Result AddMeterDescription(AAX_CTypeID meterId, const char* name,
                                           AAX_IPropertyMap* properties) = 0;
    virtual AAX_Result AddControlMIDINode(AAX_CTypeID nodeId, AAX_EMIDINodeType nodeType, const char* name,
                                          uint32_t channelMask) = 0;
};
