#include "aax_library/AAX_VCollection.h"

#include "aax_library/AAX_GUIDs.h"
#include "aax_library/AAX_HostComponent.h"
#include "aax_library/AAX_VEffectDescriptor.h"
#include "aax_library/AAX_VPropertyMap.h"

#include <memory>

AAX_VCollection::AAX_VCollection(IACFUnknown* host)
{
    mICollection = static_cast<AAX_IACFCollection*>(
        AAX_CreateHostComponent(host, AAXCompID_AAXCollection, IID_IAAXCollectionV1));
    // Kept last, so that a throwing factory step above leaves no reference behind.
    mUnknown = host;
    if (mUnknown != nullptr)
        mUnknown->AddRef();
}

AAX_VCollection::~AAX_VCollection()
{
    mEffectDescriptors.clear();
    mPropertyMaps.clear();
    AAX_ReleaseHostInterface(mICollection);
    AAX_ReleaseHostInterface(mUnknown);
}

AAX_IEffectDescriptor* AAX_VCollection::NewDescriptor()
{
    auto descriptor = std::make_unique<AAX_VEffectDescriptor>(mUnknown);
    AAX_VEffectDescriptor* result = descriptor.get();
    mEffectDescriptors.insert(std::move(descriptor));
    return result;
}

AAX_IPropertyMap* AAX_VCollection::NewPropertyMap()
{
    auto map = std::make_unique<AAX_VPropertyMap>(mUnknown);
    AAX_VPropertyMap* result = map.get();
    mPropertyMaps.insert(std::move(map));
    return result;
}

AAX_Result AAX_VCollection::AddEffect(const char* effectId, AAX_IEffectDescriptor* descriptor)
{
    if (mICollection == nullptr || descriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    auto* wrapper = dynamic_cast<AAX_VEffectDescriptor*>(descriptor);
    return mICollection->AddEffect(effectId, wrapper != nullptr ? wrapper->GetIUnknown() : nullptr);
}

AAX_Result AAX_VCollection::SetManufacturerName(const char* name)
{
    if (mICollection == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mICollection->SetManufacturerName(name);
}

AAX_Result AAX_VCollection::AddPackageName(const char* name)
{
    if (mICollection == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mICollection->AddPackageName(name);
}

AAX_Result AAX_VCollection::SetPackageVersion(uint32_t version)
{
    if (mICollection == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mICollection->SetPackageVersion(version);
}

AAX_Result AAX_VCollection::SetProperties(AAX_IPropertyMap* properties)
{
    if (mICollection == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mICollection->SetProperties(AAX_VPropertyMap::HostMapOf(properties));
}
