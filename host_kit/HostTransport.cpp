#include "host_kit/HostTransport.h"

#include "aax_library/AAX_GUIDs.h"

namespace testhost
{

namespace
{
template <class T> void Put(T* out, T value)
{
    if (out != nullptr)
        *out = value;
}
} // namespace

IACFUnknown* HostTransport::Lookup(const acfIID& iid)
{
    const Offer offer = Config().transport;
    if (iid == IID_IACFUnknown)
        return this;
    if (iid == IID_IAAXTransportV1 && offer != Offer::None)
        return this;
    if (iid == IID_IAAXTransportV2 && offer == Offer::V2)
        return this;
    return nullptr;
}

AAX_Result HostTransport::GetCurrentTempo(double* beatsPerMinute)
{
    Record("GetCurrentTempo", static_cast<const void*>(beatsPerMinute));
    if (AAX_Result result = Answer("GetCurrentTempo"))
        return result;
    Put(beatsPerMinute, Config().tempo);
    return AAX_SUCCESS;
}

AAX_Result HostTransport::GetCurrentMeter(int32_t* numerator, int32_t* denominator)
{
    Record("GetCurrentMeter", static_cast<const void*>(numerator), static_cast<const void*>(denominator));
    if (AAX_Result result = Answer("GetCurrentMeter"))
        return result;
    Put(numerator, Config().meterNumerator);
    Put(denominator, Config().meterDenominator);
    return AAX_SUCCESS;
}

AAX_Result HostTransport::IsTransportPlaying(bool* playing)
{
    Record("IsTransportPlaying", static_cast<const void*>(playing));
    if (AAX_Result result = Answer("IsTransportPlaying"))
        return result;
    Put(playing, Config().playing);
    return AAX_SUCCESS;
}

AAX_Result HostTransport::GetCurrentTickPosition(int64_t* ticks)
{
    Record("GetCurrentTickPosition", static_cast<const void*>(ticks));
    if (AAX_Result result = Answer("GetCurrentTickPosition"))
        return result;
    Put(ticks, Config().tickPosition);
    return AAX_SUCCESS;
}

AAX_Result HostTransport::GetCurrentLoopPosition(bool* looping, int64_t* startTick, int64_t* endTick)
{
    Record("GetCurrentLoopPosition", static_cast<const void*>(looping), static_cast<const void*>(startTick),
           static_cast<const void*>(endTick));
    if (AAX_Result result = Answer("GetCurrentLoopPosition"))
        return result;
    Put(looping, Config().looping);
    Put(startTick, Config().loopStartTick);
    Put(endTick, Config().loopEndTick);
    return AAX_SUCCESS;
}

AAX_Result HostTransport::GetCurrentNativeSampleLocation(int64_t* sampleLocation)
{
    Record("GetCurrentNativeSampleLocation", static_cast<const void*>(sampleLocation));
    if (AAX_Result result = Answer("GetCurrentNativeSampleLocation"))
        return result;
    Put(sampleLocation, Config().nativeSampleLocation);
    return AAX_SUCCESS;
}

AAX_Result HostTransport::GetCustomTickPosition(int64_t* ticks, int64_t sampleLocation)
{
    Record("GetCustomTickPosition", static_cast<const void*>(ticks), sampleLocation);
    if (AAX_Result result = Answer("GetCustomTickPosition"))
        return result;
    Put(ticks, Config().customTickPosition);
    return AAX_SUCCESS;
}

AAX_Result HostTransport::GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* displayTicks,
                                             int64_t sampleLocation)
{
    Record("GetBarBeatPosition", static_cast<const void*>(bars), static_cast<const void*>(beats),
           static_cast<const void*>(displayTicks), sampleLocation);
    if (AAX_Result result = Answer("GetBarBeatPosition"))
        return result;
    Put(bars, Config().bars);
    Put(beats, Config().beats);
    Put(displayTicks, Config().displayTicks);
    return AAX_SUCCESS;
}

AAX_Result HostTransport::GetTicksPerQuarter(uint32_t* ticks)
{
    Record("GetTicksPerQuarter", static_cast<const void*>(ticks));
    if (AAX_Result result = Answer("GetTicksPerQuarter"))
        return result;
    Put(ticks, Config().ticksPerQuarter);
    return AAX_SUCCESS;
}

AAX_Result HostTransport::GetCurrentTicksPerBeat(uint32_t* ticks)
{
    Record("GetCurrentTicksPerBeat", static_cast<const void*>(ticks));
    if (AAX_Result result = Answer("GetCurrentTicksPerBeat"))
        return result;
    Put(ticks, Config().ticksPerBeat);
    return AAX_SUCCESS;
}

AAX_Result HostTransport::GetTimelineSelectionStartPosition(int64_t* sampleLocation)
{
    Record("GetTimelineSelectionStartPosition", static_cast<const void*>(sampleLocation));
    if (AAX_Result result = Answer("GetTimelineSelectionStartPosition"))
        return result;
    Put(sampleLocation, Config().selectionStart);
    return AAX_SUCCESS;
}

AAX_Result HostTransport::GetTimeCodeInfo(int32_t* frameRate, int32_t* offset)
{
    Record("GetTimeCodeInfo", static_cast<const void*>(frameRate), static_cast<const void*>(offset));
    if (AAX_Result result = Answer("GetTimeCodeInfo"))
        return result;
    Put(frameRate, Config().frameRate);
    Put(offset, Config().timeCodeOffset);
    return AAX_SUCCESS;
}

AAX_Result HostTransport::GetFeetFramesInfo(int32_t* rate, int64_t* offset)
{
    Record("GetFeetFramesInfo", static_cast<const void*>(rate), static_cast<const void*>(offset));
    if (AAX_Result result = Answer("GetFeetFramesInfo"))
        return result;
    Put(rate, Config().feetFramesRate);
    Put(offset, Config().feetFramesOffset);
    return AAX_SUCCESS;
}

AAX_Result HostTransport::IsMetronomeEnabled(int32_t* enabled)
{
    Record("IsMetronomeEnabled", static_cast<const void*>(enabled));
    if (AAX_Result result = Answer("IsMetronomeEnabled"))
        return result;
    Put(enabled, Config().metronomeEnabled);
    return AAX_SUCCESS;
}

} // namespace testhost
