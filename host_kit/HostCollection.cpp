#include "host_kit/HostCollection.h"

#include "aax_library/AAX_GUIDs.h"
#include "host_kit/HostEffectDescriptor.h"
#include "host_kit/HostPropertyMap.h"
#include "host_kit/TestHost.h"

namespace testhost
{

IACFUnknown* HostPluginDefinition::Lookup(const acfIID& iid)
{
    if (iid == IID_IACFUnknown || iid == IID_IACFPluginDefinition)
        return this;
    return nullptr;
}

IACFUnknown* HostCollection::Lookup(const acfIID& iid)
{
    if (iid == IID_IACFUnknown)
        return this;
    if (iid == IID_IAAXCollectionV1 && Config().collection != Offer::None)
        return this;
    if (iid == IID_IACFPluginDefinition && Config().pluginDefinition)
    {
        if (mDefinition == nullptr)
            mDefinition = Host().Create<HostPluginDefinition>();
        return mDefinition;
    }
    return nullptr;
}

// The module never calls the reserved positions; a call here means its declarations are shifted.
AAX_Result HostCollection::ReservedCall(const char* operation)
{
    Record(operation);
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result HostCollection::Reserved3()
{
    return ReservedCall("Reserved3");
}

AAX_Result HostCollection::Reserved4()
{
    return ReservedCall("Reserved4");
}

AAX_Result HostCollection::Reserved5()
{
    return ReservedCall("Reserved5");
}

AAX_Result HostCollection::Reserved6()
{
    return ReservedCall("Reserved6");
}

AAX_Result HostCollection::AddEffect(const char* effectId, IACFUnknown* effectDescriptor)
{
    Record("AddEffect", effectId, Host().Label(effectDescriptor));
    if (AAX_Result result = Answer("AddEffect"))
        return result;
    mEffects.push_back({ToText(effectId), Host().Find<HostEffectDescriptor>(effectDescriptor)});
    return AAX_SUCCESS;
}

AAX_Result HostCollection::SetManufacturerName(const char* name)
{
    Record("SetManufacturerName", name);
    if (AAX_Result result = Answer("SetManufacturerName"))
        return result;
    mManufacturerName = ToText(name);
    return AAX_SUCCESS;
}

AAX_Result HostCollection::AddPackageName(const char* name)
{
    Record("AddPackageName", name);
    if (AAX_Result result = Answer("AddPackageName"))
        return result;
    mPackageNames.push_back(ToText(name));
    return AAX_SUCCESS;
}

AAX_Result HostCollection::SetPackageVersion(uint32_t version)
{
    Record("SetPackageVersion", version);
    if (AAX_Result result = Answer("SetPackageVersion"))
        return result;
    mPackageVersion = version;
    return AAX_SUCCESS;
}

AAX_Result HostCollection::SetProperties(IACFUnknown* propertyMap)
{
    Record("SetProperties", Host().Label(propertyMap));
    if (AAX_Result result = Answer("SetProperties"))
        return result;
    mProperties = Host().Find<HostPropertyMap>(propertyMap);
    return AAX_SUCCESS;
}

} // namespace testhost
