#pragma once
// A property map as the plug-in side sees it. Made and owned by a collection or descriptor wrapper.

#include "aax_library/AAX_Types.h"

class AAX_IPropertyMap
{
public:
    virtual ~AAX_IPropertyMap() = default;
    // [host thread] true with *value set when the map holds the property.
    virtual AAX_CBoolean GetProperty(AAX_EProperty id, AAX_CPropertyValue* value) const = 0;
    virtual AAX_Result AddProperty(AAX_EProperty id, AAX_CPropertyValue value) = 0;
    virtual AAX_Result RemoveProperty(AAX_EProperty id) = 0;
    virtual AAX_Result AddPropertyWithIDArray(AAX_EProperty id, const AAX_SPlugInIdentifierTriad* ids,
                                              uint32_t count) = 0;
    // [host thread] *ids stays the host's.
    virtual AAX_CBoolean GetPropertyWithIDArray(AAX_EProperty id, const AAX_SPlugInIdentifierTriad** ids,
                                                uint32_t* count) const = 0;
};
