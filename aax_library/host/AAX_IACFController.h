#pragma once
// The host's controller of one plug-in instance, first and second version.

#include "aax_library/AAX_IString.h"
#include "aax_library/host/IACFUnknown.h"

class AAX_IACFController : public IACFUnknown
{
public:
    // [host thread] unless noted; out arguments are written only on success.
    virtual AAX_Result GetEffectID(AAX_IString* effectId) = 0;
    virtual AAX_Result GetSampleRate(float* sampleRate) = 0;
    virtual AAX_Result GetInputStemFormat(int32_t* stemFormat) = 0;
    virtual AAX_Result GetOutputStemFormat(int32_t* stemFormat) = 0;
    virtual AAX_Result GetSignalLatency(int32_t* samples) = 0;
    virtual AAX_Result GetCycleCount(int32_t which, int32_t* value) = 0;
    virtual AAX_Result GetTODLocation(int64_t* timeOfDay) = 0;
    // [any thread] a plug-in reports a new latency when its effect does, on the effect's thread.
    virtual AAX_Result SetSignalLatency(int32_t samples) = 0;
    // [host thread]
    virtual AAX_Result SetCycleCount(int32_t* ids, int32_t* values, int32_t count) = 0;
    // [host thread] the host copies the payload.
    virtual AAX_Result PostPacket(int32_t field, const void* payload, uint32_t size) = 0;
    virtual AAX_Result GetCurrentMeterValue(uint32_t meterId, float* value) = 0;
    virtual AAX_Result GetMeterPeakValue(uint32_t meterId, float* value) = 0;
    virtual AAX_Result ClearMeterPeakValue(uint32_t meterId) = 0;
    virtual AAX_Result ClearMeterClipped(uint32_t meterId) = 0;
    virtual AAX_Result GetMeterCount(uint32_t* count) = 0;
    virtual AAX_Result GetMeterClipped(uint32_t meterId, AAX_CBoolean* clipped) = 0;
    virtual AAX_Result GetNextMIDIPacket(int32_t* port, AAX_CMidiPacket* packet) = 0;

protected:
    ~AAX_IACFController() = default;
};

class AAX_IACFController_V2 : public AAX_IACFController
{
public:
    // [host thread] the host copies the data.
    virtual AAX_Result SendNotification(uint32_t type, const void* data, uint32_t size) = 0;
    virtual AAX_Result GetHybridSignalLatency(int32_t* samples) = 0;
    virtual AAX_Result GetCurrentAutomationTimestamp(int64_t* timestamp) = 0;
    virtual AAX_Result GetHostName(AAX_IString* name) = 0;

protected:
    ~AAX_IACFController_V2() = default;
};
