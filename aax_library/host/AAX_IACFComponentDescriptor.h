#pragma once
// The host's component descriptor (one processing configuration), first and second version.

#include "aax_library/host/IACFUnknown.h"

class AAX_IACFComponentDescriptor : public IACFUnknown
{
public:
    // [host thread] every field-declaring operation takes the field's index in the context record.
    virtual AAX_Result Clear() = 0;
    virtual AAX_Result AddReservedField(int32_t field, uint32_t fieldType) = 0;
    virtual AAX_Result AddAudioIn(int32_t field) = 0;
    virtual AAX_Result AddAudioOut(int32_t field) = 0;
    virtual AAX_Result AddAudioBufferLength(int32_t field) = 0;
    virtual AAX_Result AddSampleRate(int32_t field) = 0;
    virtual AAX_Result AddClock(int32_t field) = 0;
    virtual AAX_Result AddSideChainIn(int32_t field) = 0;
    virtual AAX_Result AddDataInPort(int32_t field, uint32_t packetSize, int32_t portType) = 0;
    virtual AAX_Result AddAuxOutputStem(int32_t field, int32_t stemFormat, const char* name) = 0;
    virtual AAX_Result AddPrivateData(int32_t field, int32_t size, int32_t options) = 0;
    virtual AAX_Result AddDmaInstance(int32_t field, int32_t mode) = 0;
    virtual AAX_Result AddMIDINode(int32_t field, int32_t nodeType, const char* name,
                                   uint32_t channelMask) = 0;
    // [host thread] the procedures stay the module's; propertyMap is the host's first-version map
    // (borrowed); the host may write the new procedure's id to outProcId (may be null).
    virtual AAX_Result AddProcessProc_Native(void* process, IACFUnknown* propertyMap, void* instanceInit,
                                             void* background, uint32_t* outProcId) = 0;
    virtual AAX_Result AddProcessProc_TI(const char* moduleFile, const char* processSymbol,
                                         IACFUnknown* propertyMap, const char* instanceInitSymbol,
                                         const char* backgroundSymbol, uint32_t* outProcId) = 0;
    virtual AAX_Result AddMeters(int32_t field, const uint32_t* meterIds, uint32_t count) = 0;

protected:
    ~AAX_IACFComponentDescriptor() = default;
};

class AAX_IACFComponentDescriptor_V2 : public AAX_IACFComponentDescriptor
{
public:
    // [host thread]
    virtual AAX_Result AddTemporaryData(int32_t field, uint32_t elementSize) = 0;

protected:
    ~AAX_IACFComponentDescriptor_V2() = default;
};
