#pragma once
// Forwards the plug-in side's transport calls to the host's transport.

#include "aax_library/AAX_ITransport.h"
#include "aax_library/host/AAX_IACFTransport.h"
#include "platform/NonCopyable.h"

class AAX_VTransport : public AAX_ITransport, private NonCopyable
{
public:
    // [host thread] queries the host object for both transport versions; host may be null.
    explicit AAX_VTransport(IACFUnknown* host);
    ~AAX_VTransport() override;

    AAX_Result GetCurrentTempo(double* beatsPerMinute) const override;
    AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) const override;
    AAX_Result IsTransportPlaying(bool* playing) const override;
    AAX_Result GetCurrentTickPosition(int64_t* ticks) const override;
    AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTick, int64_t* endTick) const override;
    AAX_Result GetCurrentNativeSampleLocation(int64_t* sampleLocation) const override;
    AAX_Result GetCustomTickPosition(int64_t* ticks, int64_t sampleLocation) const override;
    AAX_Result GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* displayTicks,
                                  int64_t sampleLocation) const override;
    AAX_Result GetTicksPerQuarter(uint32_t* ticks) const override;
    AAX_Result GetCurrentTicksPerBeat(uint32_t* ticks) const override;
    AAX_Result GetTimelineSelectionStartPosition(int64_t* sampleLocation) const override;
    AAX_Result GetTimeCodeInfo(AAX_EFrameRate* frameRate, int32_t* offset) const override;
    AAX_Result GetFeetFramesInfo(AAX_EFeetFramesRate* rate, int64_t* offset) const override;
    AAX_Result IsMetronomeEnabled(int32_t* enabled) const override;

private:
    AAX_IACFTransport* mITransport = nullptr;
    AAX_IACFTransport_V2* mITransportV2 = nullptr;
};
