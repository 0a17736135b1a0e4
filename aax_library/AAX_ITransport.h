#pragma once
// The host's transport as the plug-in side sees it: tempo, meter, position and play state.

#include "aax_library/AAX_Types.h"

// The transport's tick: tick positions and loop points count this many ticks per quarter note.
constexpr uint32_t kAAX_TicksPerQuarterNote = 960000;

class AAX_ITransport
{
public:
    virtual ~AAX_ITransport() = default;
    // [any thread] everything below; out arguments are untouched on a fallback.
    virtual AAX_Result GetCurrentTempo(double* beatsPerMinute) const = 0;
    virtual AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) const = 0;
    virtual AAX_Result IsTransportPlaying(bool* playing) const = 0;
    virtual AAX_Result GetCurrentTickPosition(int64_t* ticks) const = 0;
    virtual AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTick, int64_t* endTick) const = 0;
    virtual AAX_Result GetCurrentNativeSampleLocation(int64_t* sampleLocation) const = 0;
    virtual AAX_Result GetCustomTickPosition(int64_t* ticks, int64_t sampleLocation) const = 0;
    virtual AAX_Result GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* displayTicks,
                                          int64_t sampleLocation) const = 0;
    virtual AAX_Result GetTicksPerQuarter(uint32_t* ticks) const = 0;
    virtual AAX_Result GetCurrentTicksPerBeat(uint32_t* ticks) const = 0;
    virtual AAX_Result GetTimelineSelectionStartPosition(int64_t* sampleLocation) const = 0;
    virtual AAX_Result GetTimeCodeInfo(AAX_EFrameRate* frameRate, int32_t* offset) const = 0;
    virtual AAX_Result GetFeetFramesInfo(AAX_EFeetFramesRate* rate, int64_t* offset) const = 0;
    virtual AAX_Result IsMetronomeEnabled(int32_t* enabled) const = 0;
};
