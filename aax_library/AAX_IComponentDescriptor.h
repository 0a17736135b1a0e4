#pragma once
// One processing configuration of an effect as the plug-in side describes it: the fields of its
// context record, its properties and its process procedure. Owned by the effect-descriptor wrapper.

#include "aax_library/AAX_IPropertyMap.h"
#include "aax_library/AAX_Types.h"

class AAX_IComponentDescriptor
{
public:
    virtual ~AAX_IComponentDescriptor() = default;
    // [host thread] everything below; field indices are positions in the context record.
    virtual AAX_Result Clear() = 0;
    virtual AAX_Result AddAudioIn(AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddAudioOut(AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddAudioBufferLength(AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddSampleRate(AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddClock(AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddSideChainIn(AAX_CFieldIndex field) = 0;
    virtual AAX_Result AddDataInPort(AAX_CFieldIndex field, uint32_t packetSize,
                                     AAX_EDataInPortType portType) = 0;
    virtual AAX_Result AddAuxOutputStem(AAX_CFieldIndex field, AAX_EStemFormat stemFormat,
                                        const char* name) = 0;
    virtual AAX_Result AddPrivateData(AAX_CFieldIndex field, int32_t size,
                                      AAX_EPrivateDataOptions options) = 0;
    virtual AAX_Result AddTemporaryData(AAX_CFieldIndex field, uint32_t elementSize) = 0;
    virtual AAX_Result AddDmaInstance(AAX_CFieldIndex field, int32_t mode) = 0;
    virtual AAX_Result AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIds, uint32_t count) = 0;
    virtual AAX_Result AddMIDINode(AAX_CFieldIndex field, AAX_EMIDINodeType nodeType, const char* name,
                                   uint32_t channelMask) = 0;
    virtual AAX_Result AddReservedField(AAX_CFieldIndex field, uint32_t fieldType) = 0;
    // The returned map stays owned by this descriptor; valid until it is destroyed.
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    // A new map, owned by this descriptor, with the source's properties 10 to 351 copied.
    virtual AAX_IPropertyMap* DuplicatePropertyMap(AAX_IPropertyMap* source) = 0;
    virtual AAX_Result AddProcessProc_Native(AAX_CProcessProc process, AAX_IPropertyMap* properties,
                                             AAX_CInstanceInitProc instanceInit,
                                             AAX_CBackgroundProc background, AAX_CSelector* outProcId) = 0;
    virtual AAX_Result AddProcessProc_TI(const char* moduleFile, const char* processSymbol,
                                         AAX_IPropertyMap* properties, const char* instanceInitSymbol,
                                         const char* backgroundSymbol, AAX_CSelector* outProcId) = 0;
};
