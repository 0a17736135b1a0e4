#include "host_kit/HostPropertyMap.h"

#include "aax_library/AAX_GUIDs.h"

namespace testhost
{

IACFUnknown* HostPropertyMap::Lookup(const acfIID& iid)
{
    const Offer offer = Config().propertyMap;
    if (iid == IID_IACFUnknown)
        return this;
    if (iid == IID_IAAXPropertyMapV1 && offer != Offer::None)
        return this;
    if (iid == IID_IAAXPropertyMapV2 && offer == Offer::V2)
        return this;
    return nullptr;
}

AAX_CBoolean HostPropertyMap::GetProperty(int32_t id, int32_t* value)
{
    Record("GetProperty", id);
    auto found = mProperties.find(id);
    if (found == mProperties.end())
        return 0;
    if (value != nullptr)
        *value = found->second;
    return 1;
}

AAX_Result HostPropertyMap::AddProperty(int32_t id, int32_t value)
{
    Record("AddProperty", id, value);
    if (AAX_Result result = Answer("AddProperty"))
        return result;
    mProperties[id] = value;
    return AAX_SUCCESS;
}

AAX_Result HostPropertyMap::RemoveProperty(int32_t id)
{
    Record("RemoveProperty", id);
    if (AAX_Result result = Answer("RemoveProperty"))
        return result;
    mProperties.erase(id);
    return AAX_SUCCESS;
}

AAX_Result HostPropertyMap::AddPropertyWithIDArray(int32_t id, const AAX_SPlugInIdentifierTriad* ids,
                                                   uint32_t count)
{
    Record("AddPropertyWithIDArray", id, static_cast<const void*>(ids), count);
    if (AAX_Result result = Answer("AddPropertyWithIDArray"))
        return result;
    if (ids == nullptr && count > 0)
        return AAX_ERROR_NULL_OBJECT;
    mIdArrays[id].assign(ids, ids + count);
    return AAX_SUCCESS;
}

AAX_CBoolean HostPropertyMap::GetPropertyWithIDArray(int32_t id, const AAX_SPlugInIdentifierTriad** ids,
                                                     uint32_t* count)
{
    Record("GetPropertyWithIDArray", id);
    auto found = mIdArrays.find(id);
    if (found == mIdArrays.end())
        return 0;
    if (ids != nullptr)
        *ids = found->second.data();
    if (count != nullptr)
        *count = static_cast<uint32_t>(found->second.size());
    return 1;
}

} // namespace testhost
