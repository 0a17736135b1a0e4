#pragma once
// The host's property map, first and second version. Property ids and values are 32-bit.

#include "aax_library/host/IACFUnknown.h"

class AAX_IACFPropertyMap : public IACFUnknown
{
public:
    // [host thread] true (1) with *value set when the map holds the property.
    virtual AAX_CBoolean GetProperty(int32_t id, int32_t* value) = 0;
    // [host thread]
    virtual AAX_Result AddProperty(int32_t id, int32_t value) = 0;
    // [host thread]
    virtual AAX_Result RemoveProperty(int32_t id) = 0;

protected:
    ~AAX_IACFPropertyMap() = default;
};

class AAX_IACFPropertyMap_V2 : public AAX_IACFPropertyMap
{
public:
    // [host thread] the host copies the array.
    virtual AAX_Result AddPropertyWithIDArray(int32_t id, const AAX_SPlugInIdentifierTriad* ids,
                                              uint32_t count) = 0;
    // [host thread] *ids points into the host's map and stays the host's.
    virtual AAX_CBoolean GetPropertyWithIDArray(int32_t id, const AAX_SPlugInIdentifierTriad** ids,
                                                uint32_t* count) = 0;

protected:
    ~AAX_IACFPropertyMap_V2() = default;
};
