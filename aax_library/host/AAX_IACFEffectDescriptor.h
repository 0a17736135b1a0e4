#pragma once
// The host's effect descriptor, first and second version.

#include "aax_library/host/IACFUnknown.h"

class AAX_IACFEffectDescriptor : public IACFUnknown
{
public:
    // [host thread] componentDescriptor is the host's first-version component descriptor (borrowed).
    virtual AAX_Result AddComponent(IACFUnknown* componentDescriptor) = 0;
    // [host thread]
    virtual AAX_Result AddName(const char* name) = 0;
    // [host thread]
    virtual AAX_Result AddCategory(uint32_t category) = 0;
    // [host thread]
    virtual AAX_Result AddCategoryBypassParameter(uint32_t category, const char* parameterId) = 0;
    // [host thread] proc is a factory or other procedure of the module, kept by the host.
    virtual AAX_Result AddProcPtr(void* proc, int32_t procId) = 0;
    // [host thread] propertyMap is the host's first-version property map (borrowed).
    virtual AAX_Result SetProperties(IACFUnknown* propertyMap) = 0;
    // [host thread]
    virtual AAX_Result AddResourceInfo(int32_t resourceType, const char* info) = 0;
    // [host thread] propertyMap is the host's first-version property map (borrowed).
    virtual AAX_Result AddMeterDescription(uint32_t meterId, const char* name, IACFUnknown* propertyMap) = 0;

protected:
    ~AAX_IACFEffectDescriptor() = default;
};

class AAX_IACFEffectDescriptor_V2 : public AAX_IACFEffectDescriptor
{
public:
    // [host thread]
    virtual AAX_Result AddControlMIDINode(uint32_t nodeId, int32_t nodeType, const char* name,
                                          uint32_t channelMask) = 0;

protected:
    ~AAX_IACFEffectDescriptor_V2() = default;
};
