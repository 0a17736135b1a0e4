#include "aax_library/AAX_VComponentDescriptor.h"

#include "aax_library/AAX_GUIDs.h"
#include "aax_library/AAX_HostComponent.h"
#include "aax_library/AAX_VPropertyMap.h"

namespace
{
// Property ids a duplicated map carries over; ids outside this range belong to the source alone.
constexpr AAX_EProperty kFirstDuplicatedProperty = 10;
constexpr AAX_EProperty kLastDuplicatedProperty = 351;
} // namespace

AAX_VComponentDescriptor::AAX_VComponentDescriptor(IACFUnknown* host)
{
    mIComponentDescriptor = static_cast<AAX_IACFComponentDescriptor*>(
        AAX_CreateHostComponent(host, AAXCompID_AAXComponentDescriptor, IID_IAAXComponentDescriptorV1));
    mIComponentDescriptorV2 = AAX_QueryHostInterface<AAX_IACFComponentDescriptor_V2>(
        mIComponentDescriptor, IID_IAAXComponentDescriptorV2);
    // Kept last, so that a throwing factory step above leaves no reference behind.
    mUnknown = host;
    if (mUnknown != nullptr)
        mUnknown->AddRef();
}

AAX_VComponentDescriptor::~AAX_VComponentDescriptor()
{
    mPropertyMaps.clear();
    AAX_ReleaseHostInterface(mIComponentDescriptor);
    AAX_ReleaseHostInterface(mIComponentDescriptorV2);
    AAX_ReleaseHostInterface(mUnknown);
}

AAX_IPropertyMap* AAX_VComponentDescriptor::NewPropertyMap()
{
    auto map = std::make_unique<AAX_VPropertyMap>(mUnknown);
    AAX_VPropertyMap* result = map.get();
    mPropertyMaps.insert(std::move(map));
    return result;
}

AAX_IPropertyMap* AAX_VComponentDescriptor::DuplicatePropertyMap(AAX_IPropertyMap* source)
{
    AAX_IPropertyMap* copy = NewPropertyMap();
    // A null source gives an empty copy rather than a crash.
    if (source == nullptr)
        return copy;
    for (AAX_EProperty id = kFirstDuplicatedProperty; id <= kLastDuplicatedProperty; ++id)
    {
        AAX_CPropertyValue value = 0;
        if (source->GetProperty(id, &value))
            copy->AddProperty(id, value);
    }
    return copy;
}

AAX_Result AAX_VComponentDescriptor::Clear()
{
    if (mIComponentDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIComponentDescriptor->Clear();
}

AAX_Result AAX_VComponentDescriptor::AddAudioIn(AAX_CFieldIndex field)
{
    if (mIComponentDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIComponentDescriptor->AddAudioIn(field);
}

AAX_Result AAX_VComponentDescriptor::AddAudioOut(AAX_CFieldIndex field)
{
    if (mIComponentDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIComponentDescriptor->AddAudioOut(field);
}

AAX_Result AAX_VComponentDescriptor::AddAudioBufferLength(AAX_CFieldIndex field)
{
    if (mIComponentDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIComponentDescriptor->AddAudioBufferLength(field);
}

AAX_Result AAX_VComponentDescriptor::AddSampleRate(AAX_CFieldIndex field)
{
    if (mIComponentDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIComponentDescriptor->AddSampleRate(field);
}

AAX_Result AAX_VComponentDescriptor::AddClock(AAX_CFieldIndex field)
{
    if (mIComponentDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIComponentDescriptor->AddClock(field);
}

AAX_Result AAX_VComponentDescriptor::AddSideChainIn(AAX_CFieldIndex field)
{
    if (mIComponentDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIComponentDescriptor->AddSideChainIn(field);
}

AAX_Result AAX_VComponentDescriptor::AddDataInPort(AAX_CFieldIndex field, uint32_t packetSize,
                                                   AAX_EDataInPortType portType)
{
    if (mIComponentDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIComponentDescriptor->AddDataInPort(field, packetSize, portType);
}

AAX_Result AAX_VComponentDescriptor::AddAuxOutputStem(AAX_CFieldIndex field, AAX_EStemFormat stemFormat,
                                                      const char* name)
{
    if (mIComponentDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIComponentDescriptor->AddAuxOutputStem(field, stemFormat, name);
}

AAX_Result AAX_VComponentDescriptor::AddPrivateData(AAX_CFieldIndex field, int32_t size,
                                                    AAX_EPrivateDataOptions options)
{
    if (mIComponentDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIComponentDescriptor->AddPrivateData(field, size, options);
}

AAX_Result AAX_VComponentDescriptor::AddTemporaryData(AAX_CFieldIndex field, uint32_t elementSize)
{
    if (mIComponentDescriptorV2 == nullptr)
        return AAX_ERROR_UNIMPLEMENTED;
    return mIComponentDescriptorV2->AddTemporaryData(field, elementSize);
}

AAX_Result AAX_VComponentDescriptor::AddDmaInstance(AAX_CFieldIndex field, int32_t mode)
{
    if (mIComponentDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIComponentDescriptor->AddDmaInstance(field, mode);
}

AAX_Result AAX_VComponentDescriptor::AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIds,
                                               uint32_t count)
{
    if (mIComponentDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIComponentDescriptor->AddMeters(field, meterIds, count);
}

AAX_Result AAX_VComponentDescriptor::AddMIDINode(AAX_CFieldIndex field, AAX_EMIDINodeType nodeType,
                                                 const char* name, uint32_t channelMask)
{
    if (mIComponentDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIComponentDescriptor->AddMIDINode(field, nodeType, name, channelMask);
}

AAX_Result AAX_VComponentDescriptor::AddReservedField(AAX_CFieldIndex field, uint32_t fieldType)
{
    if (mIComponentDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIComponentDescriptor->AddReservedField(field, fieldType);
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc_Native(AAX_CProcessProc process,
                                                           AAX_IPropertyMap* properties,
                                                           AAX_CInstanceInitProc instanceInit,
                                                           AAX_CBackgroundProc background,
                                                           AAX_CSelector* outProcId)
{
    if (mIComponentDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIComponentDescriptor->AddProcessProc_Native(reinterpret_cast<void*>(process), AAX_VPropertyMap::HostMapOf(properties),
                                                        reinterpret_cast<void*>(instanceInit),
                                                        reinterpret_cast<void*>(background), outProcId);
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc_TI(const char* moduleFile, const char* processSymbol,
                                                       AAX_IPropertyMap* properties,
                                                       const char* instanceInitSymbol,
                                                       const char* backgroundSymbol, AAX_CSelector* outProcId)
{
    if (mIComponentDescriptor == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIComponentDescriptor->AddProcessProc_TI(moduleFile, processSymbol, AAX_VPropertyMap::HostMapOf(properties),
                                                    instanceInitSymbol, backgroundSymbol, outProcId);
}
