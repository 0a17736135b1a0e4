#pragma once
// The host's transport (both versions), answering from the host's configuration.

#include "aax_library/host/AAX_IACFTransport.h"
#include "host_kit/HostObject.h"

namespace testhost
{

class HostTransport : public AAX_IACFTransport_V2, public HostObject
{
public:
    explicit HostTransport(TestHost& host) : HostObject(host, "Transport") {}
    TESTHOST_IACFUNKNOWN()

    AAX_Result GetCurrentTempo(double* beatsPerMinute) override;
    AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) override;
    AAX_Result IsTransportPlaying(bool* playing) override;
    AAX_Result GetCurrentTickPosition(int64_t* ticks) override;
    AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTick, int64_t* endTick) override;
    AAX_Result GetCurrentNativeSampleLocation(int64_t* sampleLocation) override;
    AAX_Result GetCustomTickPosition(int64_t* ticks, int64_t sampleLocation) override;
    AAX_Result GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* displayTicks,
                                  int64_t sampleLocation) override;
    AAX_Result GetTicksPerQuarter(uint32_t* ticks) override;
    AAX_Result GetCurrentTicksPerBeat(uint32_t* ticks) override;
    AAX_Result GetTimelineSelectionStartPosition(int64_t* sampleLocation) override;
    AAX_Result GetTimeCodeInfo(int32_t* frameRate, int32_t* offset) override;
    AAX_Result GetFeetFramesInfo(int32_t* rate, int64_t* offset) override;
    AAX_Result IsMetronomeEnabled(int32_t* enabled) override;

protected:
    IACFUnknown* Lookup(const acfIID& iid) override;
};

} // namespace testhost
