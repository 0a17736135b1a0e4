#pragma once
// Forwards the plug-in side's property-map calls to the host's property map.

#include "aax_library/AAX_IPropertyMap.h"
#include "aax_library/host/AAX_IACFPropertyMap.h"
#include "platform/NonCopyable.h"

class AAX_VPropertyMap : public AAX_IPropertyMap, private NonCopyable
{
public:
    // [host thread] creates the host map through the host's component factory; host may be null.
    explicit AAX_VPropertyMap(IACFUnknown* host);
    ~AAX_VPropertyMap() override;

    AAX_CBoolean GetProperty(AAX_EProperty id, AAX_CPropertyValue* value) const override;
    AAX_Result AddProperty(AAX_EProperty id, AAX_CPropertyValue value) override;
    AAX_Result RemoveProperty(AAX_EProperty id) override;
    AAX_Result AddPropertyWithIDArray(AAX_EProperty id, const AAX_SPlugInIdentifierTriad* ids,
                                      uint32_t count) override;
    AAX_CBoolean GetPropertyWithIDArray(AAX_EProperty id, const AAX_SPlugInIdentifierTriad** ids,
                                        uint32_t* count) const override;

    // The host's first-version map (borrowed), or null.
    AAX_IACFPropertyMap* GetIUnknown() const { return mIPropertyMap; }

    // The host sees its own map, never the wrapper; a map that is not a wrapper passes as null.
    static IACFUnknown* HostMapOf(AAX_IPropertyMap* map)
    {
        auto* wrapper = dynamic_cast<AAX_VPropertyMap*>(map);
        return wrapper != nullptr ? wrapper->GetIUnknown() : nullptr;
    }

private:
    AAX_IACFPropertyMap* mIPropertyMap = nullptr;
    AAX_IACFPropertyMap_V2* mIPropertyMapV2 = nullptr;
};
