#pragma once
// Forwards the plug-in side's controller calls to the host's controller of this instance.

#include "aax_library/AAX_IController.h"
#include "aax_library/host/AAX_IACFController.h"
#include "platform/NonCopyable.h"

class AAX_VController : public AAX_IController, private NonCopyable
{
public:
    // [host thread] queries the host object for both controller versions; host may be null.
    explicit AAX_VController(IACFUnknown* host);
    ~AAX_VController() override;

    AAX_Result GetEffectID(AAX_IString* effectId) const override;
    AAX_Result GetSampleRate(AAX_CSampleRate* sampleRate) const override;
    AAX_Result GetInputStemFormat(AAX_EStemFormat* stemFormat) const override;
    AAX_Result GetOutputStemFormat(AAX_EStemFormat* stemFormat) const override;
    AAX_Result GetSignalLatency(int32_t* samples) const override;
    AAX_Result GetCycleCount(AAX_ECycleCount which, int32_t* value) const override;
    AAX_Result GetTODLocation(AAX_CTimeOfDay* timeOfDay) const override;
    AAX_Result SetSignalLatency(int32_t samples) override;
    AAX_Result SetCycleCount(AAX_ECycleCount* ids, int32_t* values, int32_t count) override;
    AAX_Result PostPacket(AAX_CFieldIndex field, const void* payload, uint32_t size) override;
    AAX_Result SendNotification(AAX_CTypeID type, const void* data, uint32_t size) override;
    AAX_Result GetCurrentMeterValue(AAX_CMeterID meterId, float* value) const override;
    AAX_Result GetMeterPeakValue(AAX_CMeterID meterId, float* value) const override;
    AAX_Result ClearMeterPeakValue(AAX_CMeterID meterId) const override;
    AAX_Result GetMeterClipped(AAX_CMeterID meterId, AAX_CBoolean* clipped) const override;
    AAX_Result ClearMeterClipped(AAX_CMeterID meterId) const override;
    AAX_Result GetMeterCount(uint32_t* count) const override;
    AAX_Result GetNextMIDIPacket(AAX_CFieldIndex* port, AAX_CMidiPacket* packet) override;
    AAX_Result GetHybridSignalLatency(int32_t* samples) const override;
    AAX_Result GetCurrentAutomationTimestamp(AAX_CTransportCounter* timestamp) const override;
    AAX_Result GetHostName(AAX_IString* name) const override;

private:
    AAX_IACFController* mIController = nullptr;
    AAX_IACFController_V2* mIControllerV2 = nullptr;
};
