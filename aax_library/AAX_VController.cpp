#include "aax_library/AAX_VController.h"

#include "aax_library/AAX_GUIDs.h"
#include "aax_library/AAX_HostComponent.h"

AAX_VController::AAX_VController(IACFUnknown* host)
{
    mIController = AAX_QueryHostInterface<AAX_IACFController>(host, IID_IAAXControllerV1);
    mIControllerV2 = AAX_QueryHostInterface<AAX_IACFController_V2>(host, IID_IAAXControllerV2);
}

AAX_VController::~AAX_VController()
{
    AAX_ReleaseHostInterface(mIController);
    AAX_ReleaseHostInterface(mIControllerV2);
}

AAX_Result AAX_VController::GetEffectID(AAX_IString* effectId) const
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->GetEffectID(effectId);
}

AAX_Result AAX_VController::GetSampleRate(AAX_CSampleRate* sampleRate) const
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->GetSampleRate(sampleRate);
}

AAX_Result AAX_VController::GetInputStemFormat(AAX_EStemFormat* stemFormat) const
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->GetInputStemFormat(stemFormat);
}

AAX_Result AAX_VController::GetOutputStemFormat(AAX_EStemFormat* stemFormat) const
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->GetOutputStemFormat(stemFormat);
}

AAX_Result AAX_VController::GetSignalLatency(int32_t* samples) const
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->GetSignalLatency(samples);
}

AAX_Result AAX_VController::GetCycleCount(AAX_ECycleCount which, int32_t* value) const
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->GetCycleCount(which, value);
}

AAX_Result AAX_VController::GetTODLocation(AAX_CTimeOfDay* timeOfDay) const
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->GetTODLocation(timeOfDay);
}

AAX_Result AAX_VController::SetSignalLatency(int32_t samples)
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->SetSignalLatency(samples);
}

AAX_Result AAX_VController::SetCycleCount(AAX_ECycleCount* ids, int32_t* values, int32_t count)
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->SetCycleCount(ids, values, count);
}

AAX_Result AAX_VController::PostPacket(AAX_CFieldIndex field, const void* payload, uint32_t size)
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->PostPacket(field, payload, size);
}

AAX_Result AAX_VController::SendNotification(AAX_CTypeID type, const void* data, uint32_t size)
{
    if (mIControllerV2 == nullptr)
        return AAX_ERROR_UNIMPLEMENTED;
    return mIControllerV2->SendNotification(type, data, size);
}

AAX_Result AAX_VController::GetCurrentMeterValue(AAX_CMeterID meterId, float* value) const
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->GetCurrentMeterValue(meterId, value);
}

AAX_Result AAX_VController::GetMeterPeakValue(AAX_CMeterID meterId, float* value) const
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->GetMeterPeakValue(meterId, value);
}

AAX_Result AAX_VController::ClearMeterPeakValue(AAX_CMeterID meterId) const
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->ClearMeterPeakValue(meterId);
}

AAX_Result AAX_VController::GetMeterClipped(AAX_CMeterID meterId, AAX_CBoolean* clipped) const
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->GetMeterClipped(meterId, clipped);
}

AAX_Result AAX_VController::ClearMeterClipped(AAX_CMeterID meterId) const
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->ClearMeterClipped(meterId);
}

AAX_Result AAX_VController::GetMeterCount(uint32_t* count) const
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->GetMeterCount(count);
}

AAX_Result AAX_VController::GetNextMIDIPacket(AAX_CFieldIndex* port, AAX_CMidiPacket* packet)
{
    if (mIController == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mIController->GetNextMIDIPacket(port, packet);
}

AAX_Result AAX_VController::GetHybridSignalLatency(int32_t* samples) const
{
    if (mIControllerV2 == nullptr)
        return AAX_ERROR_UNIMPLEMENTED;
    return mIControllerV2->GetHybridSignalLatency(samples);
}

AAX_Result AAX_VController::GetCurrentAutomationTimestamp(AAX_CTransportCounter* timestamp) const
{
    if (mIControllerV2 == nullptr)
        return AAX_ERROR_UNIMPLEMENTED;
    return mIControllerV2->GetCurrentAutomationTimestamp(timestamp);
}

AAX_Result AAX_VController::GetHostName(AAX_IString* name) const
{
    if (mIControllerV2 == nullptr)
        return AAX_ERROR_UNIMPLEMENTED;
    return mIControllerV2->GetHostName(name);
}
