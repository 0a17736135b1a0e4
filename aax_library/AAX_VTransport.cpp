#include "aax_library/AAX_VTransport.h"

#include "aax_library/AAX_GUIDs.h"
#include "aax_library/AAX_HostComponent.h"

AAX_VTransport::AAX_VTransport(IACFUnknown* host)
{
    mITransport = AAX_QueryHostInterface<AAX_IACFTransport>(host, IID_IAAXTransportV1);
    mITransportV2 = AAX_QueryHostInterface<AAX_IACFTransport_V2>(host, IID_IAAXTransportV2);
}

AAX_VTransport::~AAX_VTransport()
{
    AAX_ReleaseHostInterface(mITransport);
    AAX_ReleaseHostInterface(mITransportV2);
}

AAX_Result AAX_VTransport::GetCurrentTempo(double* beatsPerMinute) const
{
    if (mITransport == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mITransport->GetCurrentTempo(beatsPerMinute);
}

AAX_Result AAX_VTransport::GetCurrentMeter(int32_t* numerator, int32_t* denominator) const
{
    if (mITransport == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mITransport->GetCurrentMeter(numerator, denominator);
}

AAX_Result AAX_VTransport::IsTransportPlaying(bool* playing) const
{
    if (mITransport == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mITransport->IsTransportPlaying(playing);
}

AAX_Result AAX_VTransport::GetCurrentTickPosition(int64_t* ticks) const
{
    if (mITransport == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mITransport->GetCurrentTickPosition(ticks);
}

AAX_Result AAX_VTransport::GetCurrentLoopPosition(bool* looping, int64_t* startTick, int64_t* endTick) const
{
    if (mITransport == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mITransport->GetCurrentLoopPosition(looping, startTick, endTick);
}

AAX_Result AAX_VTransport::GetCurrentNativeSampleLocation(int64_t* sampleLocation) const
{
    if (mITransport == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mITransport->GetCurrentNativeSampleLocation(sampleLocation);
}

AAX_Result AAX_VTransport::GetCustomTickPosition(int64_t* ticks, int64_t sampleLocation) const
{
    if (mITransport == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mITransport->GetCustomTickPosition(ticks, sampleLocation);
}

AAX_Result AAX_VTransport::GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* displayTicks,
                                              int64_t sampleLocation) const
{
    if (mITransport == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mITransport->GetBarBeatPosition(bars, beats, displayTicks, sampleLocation);
}

AAX_Result AAX_VTransport::GetTicksPerQuarter(uint32_t* ticks) const
{
    if (mITransport == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mITransport->GetTicksPerQuarter(ticks);
}

AAX_Result AAX_VTransport::GetCurrentTicksPerBeat(uint32_t* ticks) const
{
    if (mITransport == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mITransport->GetCurrentTicksPerBeat(ticks);
}

AAX_Result AAX_VTransport::GetTimelineSelectionStartPosition(int64_t* sampleLocation) const
{
    if (mITransportV2 == nullptr)
        return AAX_ERROR_UNIMPLEMENTED;
    return mITransportV2->GetTimelineSelectionStartPosition(sampleLocation);
}

AAX_Result AAX_VTransport::GetTimeCodeInfo(AAX_EFrameRate* frameRate, int32_t* offset) const
{
    if (mITransportV2 == nullptr)
        return AAX_ERROR_UNIMPLEMENTED;
    return mITransportV2->GetTimeCodeInfo(frameRate, offset);
}

AAX_Result AAX_VTransport::GetFeetFramesInfo(AAX_EFeetFramesRate* rate, int64_t* offset) const
{
    if (mITransportV2 == nullptr)
        return AAX_ERROR_UNIMPLEMENTED;
    return mITransportV2->GetFeetFramesInfo(rate, offset);
}

AAX_Result AAX_VTransport::IsMetronomeEnabled(int32_t* enabled) const
{
    if (mITransportV2 == nullptr)
        return AAX_ERROR_UNIMPLEMENTED;
    return mITransportV2->IsMetronomeEnabled(enabled);
}
