#pragma once
// The play-head answer built from the host's transport: tempo, meter, play state, position in
// samples, seconds and quarter notes, loop and time code.

#include "aax_library/AAX_ITransport.h"

#include <juce_audio_basics/juce_audio_basics.h>

namespace AAXClasses
{

// The host's ticks per quarter note.
constexpr double kTicksPerQuarterNote = 960000.0;

// AAX frame rates (AAX_EFrameRate) as the transport's time-code query reports them.
constexpr AAX_EFrameRate AAX_eFrameRate_Undeclared = 0;
constexpr AAX_EFrameRate AAX_eFrameRate_24Frame = 1;
constexpr AAX_EFrameRate AAX_eFrameRate_25Frame = 2;
constexpr AAX_EFrameRate AAX_eFrameRate_2997NonDrop = 3;
constexpr AAX_EFrameRate AAX_eFrameRate_2997DropFrame = 4;
constexpr AAX_EFrameRate AAX_eFrameRate_30NonDrop = 5;
constexpr AAX_EFrameRate AAX_eFrameRate_30DropFrame = 6;
constexpr AAX_EFrameRate AAX_eFrameRate_23976 = 7;

// [audio thread] Every field of the answer, asked of the transport in a fixed order (tempo, meter,
// play state, sample position, ticks, loop, time code). A failed query leaves its field at the
// preset; a null transport (before initialisation or after it) gives the presets throughout. The
// sample rate turns the sample position into seconds; without one the seconds stay 0. Allocates
// nothing.
juce::AudioPlayHead::PositionInfo positionFromHostTransport(const AAX_ITransport* transport,
                                                            float hostSampleRate);

} // namespace AAXClasses
