#pragma once
// The host's controller of one plug-in instance as the plug-in side sees it.

#include "aax_library/AAX_IString.h"
#include "aax_library/AAX_Types.h"

class AAX_IController
{
public:
    virtual ~AAX_IController() = default;
    // [host thread] everything below unless noted; out arguments are untouched on a fallback.
    virtual AAX_Result GetEffectID(AAX_IString* effectId) const = 0;
    virtual AAX_Result GetSampleRate(AAX_CSampleRate* sampleRate) const = 0;
    virtual AAX_Result GetInputStemFormat(AAX_EStemFormat* stemFormat) const = 0;
    virtual AAX_Result GetOutputStemFormat(AAX_EStemFormat* stemFormat) const = 0;
    virtual AAX_Result GetSignalLatency(int32_t* samples) const = 0;
    virtual AAX_Result GetCycleCount(AAX_ECycleCount which, int32_t* value) const = 0;
    virtual AAX_Result GetTODLocation(AAX_CTimeOfDay* timeOfDay) const = 0;
    // [any thread] the data model reports a latency change on whichever thread its effect reports it.
    virtual AAX_Result SetSignalLatency(int32_t samples) = 0;
    // [host thread]
    virtual AAX_Result SetCycleCount(AAX_ECycleCount* ids, int32_t* values, int32_t count) = 0;
    // The host copies the payload.
    virtual AAX_Result PostPacket(AAX_CFieldIndex field, const void* payload, uint32_t size) = 0;
    virtual AAX_Result SendNotification(AAX_CTypeID type, const void* data, uint32_t size) = 0;
    virtual AAX_Result GetCurrentMeterValue(AAX_CMeterID meterId, float* value) const = 0;
    virtual AAX_Result GetMeterPeakValue(AAX_CMeterID meterId, float* value) const = 0;
    virtual AAX_Result ClearMeterPeakValue(AAX_CMeterID meterId) const = 0;
    virtual AAX_Result GetMeterClipped(AAX_CMeterID meterId, AAX_CBoolean* clipped) const = 0;
    virtual AAX_Result ClearMeterClipped(AAX_CMeterID meterId) const = 0;
    virtual AAX_Result GetMeterCount(uint32_t* count) const = 0;
    virtual AAX_Result GetNextMIDIPacket(AAX_CFieldIndex* port, AAX_CMidiPacket* packet) = 0;
    virtual AAX_Result GetHybridSignalLatency(int32_t* samples) const = 0;
    virtual AAX_Result GetCurrentAutomationTimestamp(AAX_CTransportCounter* timestamp) const = 0;
    virtual AAX_Result GetHostName(AAX_IString* name) const = 0;
};
