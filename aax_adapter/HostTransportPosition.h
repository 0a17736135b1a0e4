#pragma once
// The play-head answer built from the host's transport: tempo, meter, play state, position in
// samples, seconds and quarter notes, loop and time code.

#include "aax_library/AAX_ITransport.h"

#include <juce_audio_basics/juce_audio_basics.h>

namespace AAXClasses
{

// [audio thread] Every field of the answer, asked of the transport in a fixed order (tempo, meter,
// play state, sample position, ticks, loop, time code). A failed query leaves its field at the
// preset; a null transport (before initialisation or after it) gives the presets throughout. The
// sample rate turns the sample position into seconds; without one the seconds stay 0. Allocates
// nothing.
juce::AudioPlayHead::PositionInfo positionFromHostTransport(const AAX_ITransport* transport,
                                                            float hostSampleRate);

} // namespace AAXClasses
