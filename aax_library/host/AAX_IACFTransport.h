#pragma once
// The host's transport (tempo, meter, position, play state), first and second version.

#include "aax_library/host/IACFUnknown.h"

class AAX_IACFTransport : public IACFUnknown
{
public:
    // [any thread] out arguments are written only on success.
    virtual AAX_Result GetCurrentTempo(double* beatsPerMinute) = 0;
    virtual AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) = 0;
    virtual AAX_Result IsTransportPlaying(bool* playing) = 0;
    virtual AAX_Result GetCurrentTickPosition(int64_t* ticks) = 0;
    virtual AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTick, int64_t* endTick) = 0;
    virtual AAX_Result GetCurrentNativeSampleLocation(int64_t* sampleLocation) = 0;
    virtual AAX_Result GetCustomTickPosition(int64_t* ticks, int64_t sampleLocation) = 0;
    virtual AAX_Result GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* displayTicks,
                                          int64_t sampleLocation) = 0;
    virtual AAX_Result GetTicksPerQuarter(uint32_t* ticks) = 0;
    virtual AAX_Result GetCurrentTicksPerBeat(uint32_t* ticks) = 0;

protected:
    ~AAX_IACFTransport() = default;
};

class AAX_IACFTransport_V2 : public AAX_IACFTransport
{
public:
    // [any thread]
    virtual AAX_Result GetTimelineSelectionStartPosition(int64_t* sampleLocation) = 0;
    virtual AAX_Result GetTimeCodeInfo(int32_t* frameRate, int32_t* offset) = 0;
    virtual AAX_Result GetFeetFramesInfo(int32_t* rate, int64_t* offset) = 0;
    virtual AAX_Result IsMetronomeEnabled(int32_t* enabled) = 0;

protected:
    ~AAX_IACFTransport_V2() = default;
};
