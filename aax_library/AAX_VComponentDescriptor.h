#pragma once
// Forwards the plug-in side's component-descriptor calls to the host's component descriptor and
// owns the property maps it hands out.

#include "aax_library/AAX_IComponentDescriptor.h"
#include "aax_library/host/AAX_IACFComponentDescriptor.h"
#include "platform/NonCopyable.h"

#include <memory>
#include <set>

class AAX_VPropertyMap;

class AAX_VComponentDescriptor : public AAX_IComponentDescriptor, private NonCopyable
{
public:
    // [host thread] creates the host descriptor through the host's component factory; host may be null.
    explicit AAX_VComponentDescriptor(IACFUnknown* host);
    ~AAX_VComponentDescriptor() override;

    AAX_Result Clear() override;
    AAX_Result AddAudioIn(AAX_CFieldIndex field) override;
    AAX_Result AddAudioOut(AAX_CFieldIndex field) override;
    AAX_Result AddAudioBufferLength(AAX_CFieldIndex field) override;
    AAX_Result AddSampleRate(AAX_CFieldIndex field) override;
    AAX_Result AddClock(AAX_CFieldIndex field) override;
    AAX_Result AddSideChainIn(AAX_CFieldIndex field) override;
    AAX_Result AddDataInPort(AAX_CFieldIndex field, uint32_t packetSize,
                             AAX_EDataInPortType portType) override;
    AAX_Result AddAuxOutputStem(AAX_CFieldIndex field, AAX_EStemFormat stemFormat, const char* name) override;
    AAX_Result AddPrivateData(AAX_CFieldIndex field, int32_t size, AAX_EPrivateDataOptions options) override;
    AAX_Result AddTemporaryData(AAX_CFieldIndex field, uint32_t elementSize) override;
    AAX_Result AddDmaInstance(AAX_CFieldIndex field, int32_t mode) override;
    AAX_Result AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIds, uint32_t count) override;
    AAX_Result AddMIDINode(AAX_CFieldIndex field, AAX_EMIDINodeType nodeType, const char* name,
                           uint32_t channelMask) override;
    AAX_Result AddReservedField(AAX_CFieldIndex field, uint32_t fieldType) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_IPropertyMap* DuplicatePropertyMap(AAX_IPropertyMap* source) override;
    AAX_Result AddProcessProc_Native(AAX_CProcessProc process, AAX_IPropertyMap* properties,
                                     AAX_CInstanceInitProc instanceInit, AAX_CBackgroundProc background,
                                     AAX_CSelector* outProcId) override;
    AAX_Result AddProcessProc_TI(const char* moduleFile, const char* processSymbol,
                                 AAX_IPropertyMap* properties, const char* instanceInitSymbol,
                                 const char* backgroundSymbol, AAX_CSelector* outProcId) override;

    // The host's first-version descriptor (borrowed), or null.
    AAX_IACFComponentDescriptor* GetIUnknown() const { return mIComponentDescriptor; }

private:
    IACFUnknown* mUnknown = nullptr;
    AAX_IACFComponentDescriptor* mIComponentDescriptor = nullptr;
    AAX_IACFComponentDescriptor_V2* mIComponentDescriptorV2 = nullptr;
    // Maps handed out by NewPropertyMap and DuplicatePropertyMap: owned here, ordered by address,
    // deleted before the host references are released.
    std::set<std::unique_ptr<AAX_VPropertyMap>> mPropertyMaps;
};
