#include "aax_library/AAX_VPropertyMap.h"

#include "aax_library/AAX_GUIDs.h"
#include "aax_library/AAX_HostComponent.h"

AAX_VPropertyMap::AAX_VPropertyMap(IACFUnknown* host)
{
    mIPropertyMap = static_cast<AAX_IACFPropertyMap*>(
        AAX_CreateHostComponent(host, AAXCompID_AAXPropertyMap, IID_IAAXPropertyMapV1));
    mIPropertyMapV2 = AAX_QueryHostInterface<AAX_IACFPropertyMap_V2>(mIPropertyMap, IID_IAAXPropertyMapV2);
}

AAX_VPropertyMap::~AAX_VPropertyMap()
{
    AAX_ReleaseHostInterface(mIPropertyMap);
    AAX_ReleaseHostInterface(mIPropertyMapV2);
}

AAX_CBoolean AAX_VPropertyMap::GetProperty(AAX_EProperty id, AAX_CPropertyValue* value) const
{
    if (mIPropertyMap == nullptr)
        return 0;
    return mIPropertyMap->GetProperty(id, value);
}

AAX_Result AAX_VPropertyMap::AddProperty(AAX_EProperty id, AAX_CPropertyValue value)
{
    if (mIPropertyMap == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIPropertyMap->AddProperty(id, value);
}

AAX_Result AAX_VPropertyMap::RemoveProperty(AAX_EProperty id)
{
    if (mIPropertyMap == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIPropertyMap->RemoveProperty(id);
}

AAX_Result AAX_VPropertyMap::AddPropertyWithIDArray(AAX_EProperty id, const AAX_SPlugInIdentifierTriad* ids,
                                                    uint32_t count)
{
    if (mIPropertyMapV2 == nullptr)
        return AAX_ERROR_UNIMPLEMENTED;
    return mIPropertyMapV2->AddPropertyWithIDArray(id, ids, count);
}

AAX_CBoolean AAX_VPropertyMap::GetPropertyWithIDArray(AAX_EProperty id,
                                                      const AAX_SPlugInIdentifierTriad** ids,
                                                      uint32_t* count) const
{
    if (mIPropertyMapV2 == nullptr)
        return 0;
    return mIPropertyMapV2->GetPropertyWithIDArray(id, ids, count);
}
